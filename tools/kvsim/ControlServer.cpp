#include "ControlServer.h"

#include <memory>

#include "Channel.h"
#include "ControlCommand.h"

namespace kvsim {

namespace {
constexpr std::size_t kMaxControlConnections = 64;
constexpr std::size_t kMaxCommandLine = 256;
constexpr int kWaitMs = 5000;
constexpr int kLingerMs = 1000;

std::string Error(const std::string& message) { return "ERR " + message + "\n"; }
}  // namespace

std::unique_ptr<ControlServer> ControlServer::Start(std::string& error) {
  std::unique_ptr<ControlServer> control(new ControlServer());
  ControlServer* self = control.get();
  control->server_ = LoopbackServer::Start(
      0, kMaxControlConnections,
      [self](Fd connection, int stopFd) -> LoopbackServer::Work {
        auto socket = std::make_shared<Fd>(std::move(connection));
        return [self, socket, stopFd] {
          Channel channel(std::move(*socket), stopFd);
          self->serve(channel);
        };
      },
      error);
  if (!control->server_) return nullptr;
  return control;
}

ControlServer::~ControlServer() {
  server_.reset();
  registry_.unloadAll();
}

std::string ControlServer::execute(Channel& channel, std::string& received) {
  std::size_t lineEnd;
  while ((lineEnd = received.find('\n')) == std::string::npos) {
    if (received.size() > kMaxCommandLine) return Error("command line too long");
    if (channel.receive(received, 16384, kWaitMs) != Channel::Io::kData) return std::string();
  }
  std::string error;
  auto command = ParseControlCommand(std::string_view(received).substr(0, lineEnd), error);
  if (!command) return Error(error);

  const uint16_t port = static_cast<uint16_t>(command->number);
  switch (command->verb) {
    case ControlCommand::Verb::kLoad: {
      std::string text = received.substr(lineEnd + 1);
      while (text.size() < command->number) {
        if (channel.receive(text, command->number - text.size(), kWaitMs) != Channel::Io::kData) {
          return Error("scenario text ended after " + std::to_string(text.size()) + " of " +
                       std::to_string(command->number) + " bytes");
        }
      }
      text.resize(command->number);
      auto loaded = registry_.load(text, error);
      if (!loaded) return Error(error);
      std::string answer = "OK " + std::to_string(loaded->http);
      if (loaded->udp != 0) answer += " " + std::to_string(loaded->udp);
      return answer + "\n";
    }
    case ControlCommand::Verb::kRequests: {
      auto requests = registry_.requests(port);
      return requests ? FormatRequests(*requests)
                      : Error("no scenario on port " + std::to_string(port));
    }
    case ControlCommand::Verb::kDatagrams: {
      auto datagrams = registry_.datagrams(port);
      return datagrams ? FormatRequests(*datagrams)
                       : Error("no scenario on port " + std::to_string(port));
    }
    case ControlCommand::Verb::kClear:
      return registry_.clear(port) ? "OK\n" : Error("no scenario on port " + std::to_string(port));
    case ControlCommand::Verb::kUnload:
      return registry_.unload(port) ? "OK\n" : Error("no scenario on port " + std::to_string(port));
    case ControlCommand::Verb::kFault:
      return registry_.fault(port, command->fault, error) ? "OK\n" : Error(error);
    case ControlCommand::Verb::kRestart: {
      auto sleep = [&channel](int ms) { return channel.sleep(ms); };
      return registry_.restart(port, command->downMs, sleep, error) ? "OK\n" : Error(error);
    }
    case ControlCommand::Verb::kAudio:
      return registry_.audio(port, command->audio, error) ? "OK\n" : Error(error);
  }
  return Error("unknown command");
}

void ControlServer::serve(Channel& channel) {
  std::string received;
  std::string answer = execute(channel, received);
  if (answer.empty() || !channel.sendAll(answer)) return;
  channel.finish(kLingerMs, [](std::string_view) {});
}

}  // namespace kvsim

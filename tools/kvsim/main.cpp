// kvsim: a simulated video server for the tests and the demo.
//   kvsim --control --port-file F               scenarios loaded through a control port
//   kvsim --scenario FILE [--port N] [--port-file F] [--udp-port N]   one scenario from a file
// Both listen on 127.0.0.1 only and run until SIGTERM or SIGINT.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "ControlServer.h"
#include "HttpListener.h"
#include "PortFile.h"
#include "UdpAudioServer.h"

namespace {

struct Options {
  bool control = false;
  std::string scenarioFile;
  std::string portFile;
  long port = 0;
  long udpPort = 0;
};

int Usage() {
  std::fprintf(stderr,
               "usage: kvsim --control --port-file F\n"
               "       kvsim --scenario FILE [--port N] [--port-file F] [--udp-port N]\n");
  return 2;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--control") {
      options.control = true;
    } else if (arg == "--scenario" && hasValue) {
      options.scenarioFile = argv[++i];
    } else if (arg == "--port-file" && hasValue) {
      options.portFile = argv[++i];
    } else if ((arg == "--port" || arg == "--udp-port") && hasValue) {
      char* end = nullptr;
      long& port = arg == "--port" ? options.port : options.udpPort;
      port = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || port < 1 || port > 65535) return false;
    } else {
      return false;
    }
  }
  if (options.control) {
    return options.scenarioFile.empty() && !options.portFile.empty() && options.port == 0 &&
           options.udpPort == 0;
  }
  return !options.scenarioFile.empty();
}

// Blocks SIGTERM and SIGINT in every thread (threads inherit the mask), so that only the main
// thread's sigwait takes them.
sigset_t BlockStopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  return set;
}

bool Announce(const char* what, uint16_t port, const std::string& portFile) {
  std::string error;
  if (!portFile.empty() && !kvsim::WritePortFile(portFile, port, error)) {
    std::fprintf(stderr, "kvsim: %s\n", error.c_str());
    return false;
  }
  std::printf("%s %u\n", what, static_cast<unsigned>(port));
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return Usage();
  sigset_t stopSignals = BlockStopSignals();

  std::string error;
  std::unique_ptr<kvsim::ControlServer> control;
  std::unique_ptr<kvsim::HttpListener> listener;
  std::unique_ptr<kvsim::UdpAudioServer> udp;
  if (options.control) {
    control = kvsim::ControlServer::Start(error);
    if (!control) {
      std::fprintf(stderr, "kvsim: %s\n", error.c_str());
      return 1;
    }
    if (!Announce("control", control->port(), options.portFile)) return 1;
  } else {
    std::ifstream in(options.scenarioFile, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "kvsim: cannot read %s\n", options.scenarioFile.c_str());
      return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    kvsim::Scenario scenario;
    if (!kvsim::ParseScenario(text.str(), scenario, error)) {
      std::fprintf(stderr, "kvsim: %s: %s\n", options.scenarioFile.c_str(), error.c_str());
      return 1;
    }
    if (scenario.udp) {
      udp = kvsim::UdpAudioServer::Start(std::move(*scenario.udp),
                                         static_cast<uint16_t>(options.udpPort), error);
      if (!udp) {
        std::fprintf(stderr, "kvsim: %s\n", error.c_str());
        return 1;
      }
      scenario.udp.reset();
    }
    listener =
        kvsim::HttpListener::Start(std::move(scenario), static_cast<uint16_t>(options.port), error);
    if (!listener) {
      std::fprintf(stderr, "kvsim: %s\n", error.c_str());
      return 1;
    }
    if (!Announce("http", listener->port(), options.portFile)) return 1;
    if (udp) Announce("udp", udp->port(), "");
  }

  int signal = 0;
  while (sigwait(&stopSignals, &signal) != 0) {
  }
  return 0;  // control, listener and UDP side stop here, closing every connection
}

#include "audio/AudioTeardown.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace pel {

namespace {

std::mutex g_mutex;
std::condition_variable g_changed;
int g_running = 0;

void FinisherStarted() {
  std::lock_guard<std::mutex> lock(g_mutex);
  ++g_running;
}

void FinisherDone() {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    --g_running;
  }
  g_changed.notify_all();
}

void Run(std::unique_ptr<AudioLeftovers> leftovers) {
  leftovers->Finish();
  leftovers.reset();
  FinisherDone();
}

#ifdef _WIN32
struct Start {
  std::unique_ptr<AudioLeftovers> leftovers;
  HMODULE module = nullptr;
};

DWORD WINAPI FinisherMain(void* parameter) {
  std::unique_ptr<Start> start(static_cast<Start*>(parameter));
  const HMODULE module = start->module;
  Run(std::move(start->leftovers));
  start.reset();
  // The module's own reference goes with the thread, so that the last instruction run here
  // is not in a module already unloaded.
  if (module != nullptr) FreeLibraryAndExitThread(module, 0);
  return 0;
}
#endif

}  // namespace

AudioLeftovers::~AudioLeftovers() { Finish(); }

void AudioLeftovers::Finish() {
  if (running) *running = false;
  // A thread in a receive wait notices the cleared flag within one receive time-out.
  if (receiver.joinable()) receiver.join();
  joiner.reset();
  if (socket) socket->CloseSocket();
  if (player) player->Close();
  player.reset();
  if (capture) {
    capture->Stop();
    capture->Reset();
    UnprepareAll(*capture, captureBlocks);
    // A device that never closes goes before its blocks (its handle's last close attempt).
    if (pause != nullptr) CloseWithRetries(*capture, *pause);
    capture.reset();
  }
  captureBlocks.Free();
  stopped.reset();
  running.reset();
  socket.reset();
}

void FinishDetached(std::unique_ptr<AudioLeftovers> leftovers) {
  if (!leftovers) return;
  FinisherStarted();
#ifdef _WIN32
  auto start = std::make_unique<Start>();
  start->leftovers = std::move(leftovers);
  // Pins the module that holds this code (a DLL or the program itself).
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCWSTR>(&FinisherMain), &start->module);
  Start* handed = start.get();
  const HANDLE thread = CreateThread(nullptr, 0, &FinisherMain, handed, 0, nullptr);
  if (thread != nullptr) {
    start.release();
    CloseHandle(thread);
    return;
  }
  if (start->module != nullptr) FreeLibrary(start->module);
  Run(std::move(start->leftovers));
#else
  // Held by pointer until the thread runs: a std::thread that fails to start destroys the
  // arguments it was given, and the leftovers must then be finished here.
  AudioLeftovers* handed = leftovers.release();
  try {
    std::thread([handed] { Run(std::unique_ptr<AudioLeftovers>(handed)); }).detach();
  } catch (const std::system_error&) {
    Run(std::unique_ptr<AudioLeftovers>(handed));
  }
#endif
}

int AudioFinishersRunning() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_running;
}

bool WaitForAudioFinishers(int milliseconds) {
  std::unique_lock<std::mutex> lock(g_mutex);
  return g_changed.wait_for(lock, std::chrono::milliseconds(milliseconds),
                            [] { return g_running == 0; });
}

}  // namespace pel

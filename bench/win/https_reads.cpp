// The start's two page reads, the server page and the first module's page with credentials,
// repeated in-process against an https server: the control's own page reader over the
// system's TLS provider, a new connection for every read as in the control. For
// bench/https_vs_curl.sh, which runs curl on the same pages beside it.
//
//   pel_https_reads HOST PORT USER PASSWORD REPETITIONS
//
// HOST is the name the certificate carries; it is read at 127.0.0.1. Prints
// "reads <n> ms <elapsed>" and exits 0 when every read got a page with status 200.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Common/SockUtil/NetInit.h"
#include "control/PageFetch.h"
#include "trust/win/SchannelChannelFactory.h"

namespace {

// The message a failed read would show, on standard error: a benchmark that failed says why.
class ErrorMessages : public pel::IUserMessages {
 public:
  void ShowMessage(const std::string& text) override {
    std::fprintf(stderr, "pel_https_reads: %s\n", text.c_str());
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fputs("usage: pel_https_reads HOST PORT USER PASSWORD REPETITIONS\n", stderr);
    return 2;
  }
  if (!pel::EnsureSocketLibrary()) return 1;
  pel::UseSchannelForTls();
  pel::ControlProperties props;
  props.tlsHost = argv[1];
  props.tlsAddress = props.strIpAddr = "127.0.0.1";
  props.iHttpPort = std::atoi(argv[2]);
  props.strUserID = argv[3];
  props.strUserPWD = argv[4];
  const int repetitions = std::atoi(argv[5]);
  const char* const paths[] = {"/asp-get/kvsvrinf.asp", "/asp-get/kvmodinf.asp?KvModId=0"};
  ErrorMessages messages;
  pel::PageBuffer page;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repetitions; ++i) {
    for (const char* path : paths) {
      if (pel::FetchPage(path, props, messages, page) != pel::PageReadOutcome::kRead) return 1;
    }
  }
  const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - start);
  std::printf("reads %d ms %.3f\n", 2 * repetitions, elapsed.count() / 1000.0);
  return 0;
}

// Speed of the page-reading toolkit: a whole page read from a stock keep-alive server (nginx),
// which must end at the response's length instead of waiting out the time limit, and the
// key search and number reading over a full 10240-byte page buffer.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "net/FindInBuffer.h"
#include "net/HttpClient.h"
#include "net/ParseNumber.h"
#include "support/TestEnv.h"

namespace {

void BM_HttpGetKeepAlivePage(benchmark::State& state) {
  const int port = pel::test::NginxPort();
  if (port == 0) {
    state.SkipWithError("nginx is not running (no NGINX_PORT in PEL_PEERS)");
    return;
  }
  const std::string path = pel::test::NginxPagePath();
  std::vector<char> buffer(10240);
  for (auto _ : state) {
    const int n = pel::HttpGet(path.c_str(), "127.0.0.1", static_cast<unsigned short>(port), "",
                               "", buffer.data(), static_cast<int>(buffer.size()), "", 0);
    if (n <= 0) state.SkipWithError("HttpGet failed");
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(BM_HttpGetKeepAlivePage)->Unit(benchmark::kMillisecond);

std::vector<char> FullPage() {
  std::string page = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n";
  for (int i = 0; page.size() < 10000; ++i) {
    page += "VSMNAME" + std::to_string(i) + "=\"Module " + std::to_string(i) + "\"\r\n";
  }
  page += "UDPPORT=32001\r\n";
  std::vector<char> buffer(10240, '\0');
  page.copy(buffer.data(), page.size());
  return buffer;
}

void BM_FindKeyAtPageEndAndParse(benchmark::State& state) {
  const std::vector<char> page = FullPage();
  for (auto _ : state) {
    const char* key = pel::FindInBuffer(page.data(), "UDPPORT=", page.size());
    const size_t at = static_cast<size_t>(key - page.data()) + 8;
    benchmark::DoNotOptimize(pel::ParseNumber(key + 8, page.size() - at));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_FindKeyAtPageEndAndParse);

}  // namespace

int main(int argc, char** argv) {
  pel::test::InitTestEnvironment();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

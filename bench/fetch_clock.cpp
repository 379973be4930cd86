// fetch_clock URL...: fetches the addresses with bare libcurl on one new connection and prints
// the microseconds that took, from creating the handle to the last body. The process's own
// start is not counted: the start-up figure adds this to a bare window's start.
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "bench/curl_session.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: fetch_clock URL...\n");
    return 2;
  }
  const std::vector<std::string> urls(argv + 1, argv + argc);
  try {
    const auto start = std::chrono::steady_clock::now();
    bench::CurlSession session;
    session.FetchAll(urls);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%lld\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count()));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "fetch_clock: %s\n", error.what());
    return 1;
  }
  return 0;
}

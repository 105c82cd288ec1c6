#pragma once
// Runs the kq_svc_309 binary as a user would, for command-line tests.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace kq::testing {

struct ProcessResult {
  int status = -1;  // exit status
  std::string out;
  std::string err;
};

inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline std::string shell_quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'') q += "'\\''";
    else q += c;
  }
  return q + "'";
}

// Runs `KQ_BINARY args` with `input` on standard input.
inline ProcessResult run_kq(const std::string& args, const std::string& input = "") {
  static int counter = 0;
  std::string base = "/tmp/kq_cli_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
  {
    std::ofstream in(base + ".in", std::ios::binary);
    in << input;
  }
  std::string cmd = std::string(KQ_BINARY) + " " + args + " <" + base + ".in >" + base + ".out 2>" + base + ".err";
  int raw = std::system(cmd.c_str());
  ProcessResult r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = read_file(base + ".out");
  r.err = read_file(base + ".err");
  std::remove((base + ".in").c_str());
  std::remove((base + ".out").c_str());
  std::remove((base + ".err").c_str());
  return r;
}

}  // namespace kq::testing

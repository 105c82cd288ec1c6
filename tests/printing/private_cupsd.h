#pragma once
// A private CUPS scheduler for one test (scripts/start_cupsd.sh in a folder of
// its own) with the raw queue kq_test, whose backend keeps every job as
// out/kq_test/job-ID.pdf and the copies asked of the printer as job-ID.copies.
// While it lives, libcups on the creating thread talks to it (libcups keeps
// its server per thread, read once from CUPS_SERVER; both are set).
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "support/run_process.h"

namespace kq::testing {

class PrivateCupsd {
 public:
  static constexpr const char* kQueue = "kq_test";

  PrivateCupsd() {
    static int counter = 0;
    dir_ = std::filesystem::temp_directory_path() /
           ("kq_cupsd_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    const std::string cmd = shell_quote(script("start_cupsd.sh")) + " " + shell_quote(dir_.string()) + " " + kQueue +
                            " >" + shell_quote(dir_.string() + ".log") + " 2>&1";
    started_ = std::system(cmd.c_str()) == 0;
    EXPECT_TRUE(started_) << "the private cupsd did not start: " << read_file(dir_.string() + ".log");
    setenv("CUPS_SERVER", (dir_ / "cups.sock").c_str(), 1);
    cupsSetServer((dir_ / "cups.sock").c_str());
  }
  ~PrivateCupsd() {
    stop();
    unsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
    std::filesystem::remove(dir_.string() + ".log", ec);
  }
  PrivateCupsd(const PrivateCupsd&) = delete;
  PrivateCupsd& operator=(const PrivateCupsd&) = delete;

  bool started() const { return started_; }
  // Stops the scheduler (the print service is then down); CUPS_SERVER stays.
  void stop() {
    const std::string cmd = shell_quote(script("stop_cupsd.sh")) + " " + shell_quote(dir_.string());
    if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << "stop_cupsd.sh failed for " << dir_;
  }

  // The document of job `id` as the printer received it; "" when it did not
  // arrive within 10 s.
  std::string document(int id) const { return wait_for(id, ".pdf"); }
  // The copies the scheduler asked of the printer for job `id`.
  int copies(int id) const {
    const std::string text = wait_for(id, ".copies");
    return text.empty() ? 0 : std::atoi(text.c_str());
  }
  // How many jobs reached the printer so far.
  int jobs() const {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir_ / "out" / kQueue))
      n += e.path().extension() == ".pdf";
    return n;
  }
  // The id of the first job, waiting up to 10 s for it; 0 when none came.
  int first_job() const {
    for (int i = 0; i < 100 && jobs() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    for (const auto& e : std::filesystem::directory_iterator(dir_ / "out" / kQueue))
      if (e.path().extension() == ".pdf") return std::atoi(e.path().stem().string().substr(4).c_str());
    return 0;
  }

 private:
  static std::string script(const char* name) {
    return (std::filesystem::path(KQ_TESTS_DIR) / ".." / "scripts" / name).lexically_normal().string();
  }
  std::string wait_for(int id, const char* extension) const {
    const auto path = dir_ / "out" / kQueue / ("job-" + std::to_string(id) + extension);
    for (int i = 0; i < 100 && !std::filesystem::exists(path); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return std::filesystem::exists(path) ? read_file(path.string()) : "";
  }

  std::filesystem::path dir_;
  bool started_ = false;
};

}  // namespace kq::testing

// kq_svc_309 upper-je [AMOUNT...]: amounts in Chinese capitals, one result a line.
#include <CLI/CLI.hpp>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "functions/f_svc_upper_je.h"
#include "platform/value/text.h"

namespace kq::app {
namespace {

// Converts one amount; prints its result line (empty on failure) and reports
// the failure on standard error. Returns false on failure.
bool convert_one(const std::string& input, size_t line_no, bool from_stdin) {
  std::string trimmed = text::trim(input);
  auto amount = Decimal::parse(trimmed);
  std::string where = from_stdin ? "line " + std::to_string(line_no) : "argument " + std::to_string(line_no);
  if (!amount || trimmed.find_first_of("eE") != std::string::npos) {
    std::cout << '\n';
    std::cerr << "upper-je: " << where << ": \"" << trimmed << "\" is not an amount of money\n";
    return false;
  }
  auto result = f_svc_upper_je(amount);
  if (!result) {
    std::cout << '\n';
    std::cerr << "upper-je: " << where << ": " << trimmed
              << " is outside the range that capitals can write (up to 9999999999999.99)\n";
    return false;
  }
  std::cout << *result << '\n';
  return true;
}

}  // namespace

void register_upper_je(CLI::App& app, int& status) {
  auto* cmd = app.add_subcommand("upper-je", "Writes amounts of money in Chinese capital numerals (f_svc_upper_je)");
  // Amounts are taken as the subcommand's extra arguments, so that negative amounts ("-0.5") are not
  // mistaken for options and the order of the arguments is kept.
  cmd->prefix_command();
  cmd->footer("Arguments: AMOUNT... in yuan, e.g. 100000 -0.5 12345678.9. Without any, each line of standard input "
              "is converted.\nPrints one result per amount, in order. A line that is not a number leaves its output line "
              "empty, is reported on standard error, and makes the exit status 1.");
  cmd->callback([cmd, &status] {
    // run_command_line has already taken out a standalone "--".
    const std::vector<std::string> amounts = cmd->remaining();
    bool ok = true;
    if (!amounts.empty()) {
      for (size_t i = 0; i < amounts.size(); ++i) ok = convert_one(amounts[i], i + 1, false) && ok;
    } else {
      std::string line;
      size_t n = 0;
      while (std::getline(std::cin, line)) ok = convert_one(line, ++n, true) && ok;
    }
    std::cout.flush();
    status = ok ? 0 : 1;
  });
}

}  // namespace kq::app

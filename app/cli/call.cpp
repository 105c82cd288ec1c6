// kq_svc_309 call FUNCTION [ARGS...] --db PATH --company CODE: calls one of the
// module's global functions by name, as the other modules of the application do.
#include <CLI/CLI.hpp>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/session_setup.h"
#include "functions/f_svc_add_xlxm.h"
#include "functions/f_svc_get_yhmc.h"
#include "functions/f_svc_getid.h"
#include "functions/f_svc_gsgsf.h"
#include "functions/f_svc_upper_je.h"
#include "platform/ui/scripted_ui.h"

namespace kq::app {
namespace {

struct CallOptions {
  std::string function;
  std::vector<std::string> args;
  SessionSetup setup;
};

// An argument as the runtime would pass it: the text "null" is a null.
Str arg_text(const std::vector<std::string>& args, size_t i) {
  if (i >= args.size() || args[i] == "null") return std::nullopt;
  return args[i];
}

Result<Dec> arg_decimal(const std::vector<std::string>& args, size_t i, const char* what) {
  Str t = arg_text(args, i);
  if (!t) return Dec();
  auto d = Decimal::parse(*t);
  if (!d) return make_error(std::string(what) + " \"" + *t + "\" is not a number");
  return Dec(*d);
}

int call(const CallOptions& o) {
  struct Signature {
    const char* name;
    size_t arity;
    const char* usage;
  };
  static const Signature kFunctions[] = {
      {"f_svc_upper_je", 1, "f_svc_upper_je AMOUNT"},
      {"f_svc_getid", 2, "f_svc_getid CHASSIS PLATE"},
      {"f_svc_gsgsf", 2, "f_svc_gsgsf RATE_CLASS HOURS"},
      {"f_svc_get_yhmc", 0, "f_svc_get_yhmc   (with --operator CODE)"},
      {"f_svc_add_xlxm", 0, "f_svc_add_xlxm"},
  };
  const Signature* sig = nullptr;
  for (const auto& f : kFunctions)
    if (o.function == f.name) sig = &f;
  if (sig == nullptr) {
    std::cerr << "call: no global function named \"" << o.function << "\"; the module's functions are:\n";
    for (const auto& f : kFunctions) std::cerr << "  " << f.usage << '\n';
    return 2;
  }
  if (o.args.size() != sig->arity) {
    std::cerr << "call: " << sig->name << " takes " << sig->arity << " argument(s): " << sig->usage << '\n';
    return 2;
  }

  if (o.function == "f_svc_upper_je") {  // needs no database
    auto amount = arg_decimal(o.args, 0, "amount");
    if (!amount) {
      std::cerr << "call: " << amount.error() << '\n';
      return 2;
    }
    std::cout << f_svc_upper_je(*amount).value_or("") << '\n';
    return 0;
  }
  if (o.function == "f_svc_add_xlxm") {
    std::cout << (f_svc_add_xlxm() ? "true" : "false") << '\n';
    return 0;
  }

  auto session = open_session(o.setup);
  if (!session) {
    std::cerr << "call: " << session.error() << '\n';
    return 1;
  }
  ui::ScriptedUi ui;
  ui.on_message = [](const ui::MessageBox& m) { std::cerr << m.title << ": " << m.text << '\n'; };
  (*session)->ui = &ui;
  fw::SessionScope scope(**session);

  if (o.function == "f_svc_getid") {
    std::cout << f_svc_getid(arg_text(o.args, 0), arg_text(o.args, 1)) << '\n';
  } else if (o.function == "f_svc_gsgsf") {
    auto hours = arg_decimal(o.args, 1, "hours");
    if (!hours) {
      std::cerr << "call: " << hours.error() << '\n';
      return 2;
    }
    Dec fee = f_svc_gsgsf(arg_text(o.args, 0), *hours);
    std::cout << (fee ? fee->to_string() : "") << '\n';
  } else if (o.function == "f_svc_get_yhmc") {
    std::cout << f_svc_get_yhmc() << '\n';
  }
  (*session)->sqlca.rollback();
  return 0;
}

}  // namespace

void register_call(CLI::App& app, int& status) {
  auto o = std::make_shared<CallOptions>();
  auto* cmd = app.add_subcommand("call", "Calls a global function of the module by name and prints its result");
  cmd->add_option("FUNCTION", o->function, "f_svc_upper_je, f_svc_getid, f_svc_gsgsf, f_svc_get_yhmc or f_svc_add_xlxm")
      ->required();
  cmd->add_option("ARGS", o->args, "the function's arguments (\"null\" passes a null)");
  cmd->add_option("--db", o->setup.db_path, "the shop database file");
  cmd->add_option("--company", o->setup.company, "the company code (gs_gsh)");
  cmd->add_option("--operator", o->setup.operator_code, "the operator code (gs_yhdm, gs_yhxm)");
  cmd->footer("Messages the function shows go to standard error. Exit status 0, 1 when the database cannot be "
              "opened, 2 for a wrong call.");
  cmd->callback([o, &status] { status = call(*o); });
}

}  // namespace kq::app

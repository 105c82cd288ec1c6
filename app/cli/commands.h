#pragma once
// The command line of kq_svc_309: subcommands registered on one CLI11 parser.

namespace CLI {
class App;
}

namespace kq::app {

// The help of a --server option: how a database server is named.
inline constexpr const char* kServerOptionHelp =
    "A database server instead: postgresql://user@host:port/dbname, \"host=… dbname=…\", \"service=name\", or "
    "\"\" for the PG* environment; the password goes in ~/.pgpass";

// Parses the arguments, runs the chosen subcommand and returns the exit status.
int run_command_line(int argc, char** argv);

// Each subcommand registers itself on the parser; the callback it sets stores
// its exit status in `status`.
void register_upper_je(CLI::App& app, int& status);
void register_db(CLI::App& app, int& status);
// db copy, on the parser of "db".
void register_db_copy(CLI::App& db, int& status);
void register_call(CLI::App& app, int& status);
void register_dw(CLI::App& app, int& status);
void register_serve(CLI::App& app, int& status);
void register_card_sim(CLI::App& app, int& status);

}  // namespace kq::app

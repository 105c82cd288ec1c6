// kq_svc_309 dw NAME [ARGS...] --db PATH|--server ADDRESS --company CODE --format json|csv|html|pdf
// [--out FILE]: retrieves a data window and writes its rows or its printed
// presentation, from the shop's file or from its database server.
// kq_svc_309 dw --from-archive ID --db PATH --company CODE ...: the same for the
// settlement slip archived with a cancelled settlement (svcb61 row ID), as it
// was when archived.
#include <CLI/CLI.hpp>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/dw_archive.h"
#include "cli/session_setup.h"
#include "framework/print_options.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/render/html_render.h"
#include "platform/dw/render/pdf_render.h"
#include "platform/ui/scripted_ui.h"
#include "platform/value/format.h"
#include "platform/value/text.h"

namespace kq::app {
namespace {

struct DwOptions {
  std::string name;
  std::vector<std::string> args;
  std::string archive;  // --from-archive: the svcb61 id, as typed
  std::string format = "json";
  std::string out;
  SessionSetup setup;
};

nlohmann::ordered_json to_json(const Value& v) {
  if (v.is_null()) return nullptr;
  if (v.is_long()) return v.lng();
  if (v.is_decimal()) {
    // Exact digits: the JSON number is written from the decimal's own text.
    return nlohmann::ordered_json::parse(v.dec().to_string());
  }
  if (v.is_bool()) return v.boolean();
  if (v.is_datetime()) return v.dt().to_string();
  return *v.as_string();
}

std::string csv_field(const std::string& raw) {
  const std::string s = text::valid_utf8(raw);
  if (s.find_first_of(",\"\n\r") == std::string::npos) return s;
  std::string q = "\"";
  for (char c : s) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

std::string csv_text(const Value& v) {
  if (v.is_null()) return "";
  if (v.is_datetime()) return v.dt().to_string();
  return format::general(v);
}

// The data window's rows: columns then computed fields, as JSON (an array of
// objects, indented as nlohmann::json::dump(2) writes it) or CSV, written to
// `out` row by row: the output is never held whole. False when writing fails.
bool write_rows(const dw::DataWindow& dw, bool json, std::ostream& out) {
  const dw::Definition& def = dw.definition();
  const auto computes = def.computes();
  if (!json) {
    std::string header;
    for (const auto& c : def.columns) header += (header.empty() ? "" : ",") + csv_field(c.name);
    for (const auto* c : computes) header += (header.empty() ? "" : ",") + csv_field(c->name);
    out << header << "\r\n";
  }
  const long rows = dw.rowcount();
  if (json) out << (rows == 0 ? "[]" : "[");
  std::string line;
  for (long row = 1; row <= rows && out; ++row) {
    auto value = [&](size_t k) {
      if (k < def.columns.size()) return dw.getitem(row, def.columns[k].name);
      return dw.object_value(*computes[k - def.columns.size()], row);
    };
    const size_t fields = def.columns.size() + computes.size();
    if (json) {
      nlohmann::ordered_json obj = nlohmann::ordered_json::object();
      for (size_t k = 0; k < fields; ++k)
        obj[k < def.columns.size() ? def.columns[k].name : computes[k - def.columns.size()]->name] = to_json(value(k));
      // One element of the array: indented one level deeper than on its own.
      line = obj.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
      out << (row == 1 ? "\n  " : ",\n  ");
      size_t from = 0;
      for (size_t nl = line.find('\n'); nl != std::string::npos; from = nl + 1, nl = line.find('\n', from))
        out.write(line.data() + from, static_cast<std::streamsize>(nl + 1 - from)) << "  ";
      out.write(line.data() + from, static_cast<std::streamsize>(line.size() - from));
    } else {
      line.clear();
      for (size_t k = 0; k < fields; ++k) line += (k ? "," : "") + csv_field(csv_text(value(k)));
      out << line << "\r\n";
    }
  }
  if (json) out << (rows == 0 ? "\n" : "\n]\n");
  out.flush();
  return static_cast<bool>(out);
}

// Retrieves the named data window with the arguments given; an exit status
// when that fails (the reason on standard error).
std::optional<int> retrieve_named(const DwOptions& o, fw::Session& session, dw::DataWindow& dw) {
  if (dw.dataobject(o.name) != 1) {
    std::cerr << "dw: " << dw.last_error() << '\n';
    return 2;
  }
  const auto& def = dw.definition();
  if (o.args.size() != def.arguments.size()) {
    std::cerr << "dw: " << o.name << " takes " << def.arguments.size() << " argument(s)";
    for (size_t i = 0; i < def.arguments.size(); ++i) std::cerr << (i ? ", " : ": ") << def.arguments[i].name;
    std::cerr << "; " << o.args.size() << " given\n";
    return 2;
  }
  dw.settransobject(session.sqlca);
  std::vector<Value> args;
  for (const auto& a : o.args) args.emplace_back(a);
  if (dw.retrieve(args) < 0) {
    std::cerr << "dw: retrieving " << o.name << " failed: "
              << (session.sqlca.sqlerrtext.empty() ? dw.last_error() : session.sqlca.sqlerrtext) << '\n';
    return 1;
  }
  return std::nullopt;
}

// The archive id of --from-archive: a whole number from 1.
std::optional<int64_t> archive_id(const std::string& text) {
  const std::string t = text::trim(text);
  if (t.empty() || t.size() > 18 || t.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const int64_t id = std::stoll(t);
  if (id < 1) return std::nullopt;
  return id;
}

int run_dw(const DwOptions& o) {
  if (o.format != "json" && o.format != "csv" && o.format != "html" && o.format != "pdf") {
    std::cerr << "dw: --format must be json, csv, html or pdf\n";
    return 2;
  }
  const bool archived = !o.archive.empty();
  if (archived == !o.name.empty()) {
    std::cerr << "dw: give either a data window NAME with its arguments or --from-archive ID\n";
    return 2;
  }
  std::optional<int64_t> id;
  if (archived) {
    id = archive_id(o.archive);
    if (!id) {
      std::cerr << "dw: --from-archive takes the id of an archive row (a whole number from 1), not \"" << o.archive
                << "\"\n";
      return 2;
    }
  }
  auto session = open_session(o.setup);
  if (!session) {
    std::cerr << "dw: " << session.error() << '\n';
    return 1;
  }
  ui::ScriptedUi ui;
  ui.on_message = [](const ui::MessageBox& m) { std::cerr << m.title << ": " << m.text << '\n'; };
  (*session)->ui = &ui;
  fw::SessionScope scope(**session);

  dw::DataWindow dw;
  if (archived) {
    // The restored slip renders from the blob alone: no transaction is set.
    auto restored = restore_archived_slip((*session)->sqlca, (*session)->g.gs_gsh, *id, dw);
    (*session)->sqlca.rollback();
    if (!restored) {
      std::cerr << "dw: " << restored.error() << '\n';
      return 1;
    }
  } else if (auto status = retrieve_named(o, **session, dw)) {
    return *status;
  }
  const auto& def = dw.definition();

  if (o.format == "json" || o.format == "csv") {
    const bool json = o.format == "json";
    if (o.out.empty()) {
      const bool written = write_rows(dw, json, std::cout);
      (*session)->sqlca.rollback();
      if (!written) std::cerr << "dw: cannot write the rows to standard output\n";
      return written ? 0 : 1;
    }
    std::ofstream file(o.out, std::ios::binary);
    const bool written = file && write_rows(dw, json, file);
    (*session)->sqlca.rollback();
    if (!written) {
      file.close();
      std::error_code ignored;
      std::filesystem::remove(o.out, ignored);  // no half list left behind
      std::cerr << "dw: cannot write " << o.out << '\n';
      return 1;
    }
    return 0;
  }

  std::string output;
  if (o.format == "html") {
    dw::HtmlOptions h;
    h.mode = dw::HtmlOptions::Mode::Preview;
    h.document = true;
    h.picture_folder = fw::picture_folder();
    output = dw::render_html(dw, h);
  } else {
    dw::PdfOptions p = fw::print_options(dw);
    p.title = def.title.empty() ? def.name : def.title;
    auto pdf = dw::render_pdf(dw, p);
    if (!pdf) {
      std::cerr << "dw: printing " << def.name << " failed: " << pdf.error() << '\n';
      return 1;
    }
    output = std::move(*pdf);
  }
  (*session)->sqlca.rollback();

  if (o.out.empty()) {
    if (o.format == "pdf" && isatty(1)) {
      std::cerr << "dw: a PDF is not for the terminal; give --out FILE\n";
      return 2;
    }
    std::cout << output;
    return 0;
  }
  std::ofstream file(o.out, std::ios::binary);
  file << output;
  if (!file) {
    std::cerr << "dw: cannot write " << o.out << '\n';
    return 1;
  }
  return 0;
}

}  // namespace

void register_dw(CLI::App& app, int& status) {
  auto o = std::make_shared<DwOptions>();
  auto* cmd = app.add_subcommand("dw", "Retrieves a data window and writes its rows (json, csv) or its printout (html, pdf)");
  cmd->add_option("NAME", o->name, "the data window, e.g. d_svc305_jsd1");
  cmd->add_option("ARGS", o->args, "its retrieval arguments, in order");
  cmd->add_option("--from-archive", o->archive,
                  "instead of NAME: the settlement slip archived with a cancelled settlement, by the id of its "
                  "svcb61 row in the company, as it was when archived");
  cmd->add_option("--db", o->setup.db_path, "the shop database file");
  cmd->add_option("--server", o->setup.server, kServerOptionHelp);
  cmd->add_option("--company", o->setup.company, "the company code (gs_gsh)")->required();
  cmd->add_option("--operator", o->setup.operator_code, "the operator code (gs_yhdm)");
  cmd->add_option("--format", o->format, "json (default), csv, html or pdf");
  cmd->add_option("--out", o->out, "write to this file instead of standard output");
  cmd->footer("json: an array of row objects keyed by column name, computed fields included (numbers as numbers, "
              "dates as \"yyyy/mm/dd hh:mm:ss\", null as null).\nExample: kq_svc_309 dw d_svc305_jsd1 1010000000005 01 "
              "--db shop.db --company 01 --format pdf --out slip.pdf\n       kq_svc_309 dw --from-archive 12 --db shop.db "
              "--company 01 --format html --out slip.html\n       kq_svc_309 dw d_svc309_02 2026/12/01 2026/12/08 --server "
              "postgresql://kq@db1/shop --company 01 --format csv");
  cmd->callback([o, &status] { status = run_dw(*o); });
}

}  // namespace kq::app

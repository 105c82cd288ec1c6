#pragma once
// A data window definition: what one definition file (kq_svc_309/data/<name>.yaml)
// declares, after loading and validation. It is plain data: the data window
// object binds its expressions once (expression/), the renderers lay it out
// (render/). The file format is described in docs/datawindow-format.md.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/value/value.h"

namespace kq::dw {

// Where in its file an entry was declared, for error messages ("d_x.yaml:12").
struct SourcePos {
  std::string file;
  int line = 0;
};

struct ArgumentDef {
  std::string name;                 // lower case
  Type type = Type::String;
  SourcePos pos;
};

// A result column of the query, in select-list order.
struct ColumnDef {
  std::string name;                 // the data window's name for it, lower case ("v_svc300_01_chth", "nxjsk")
  Type type = Type::String;         // String, Long, Decimal or DateTime ("number" columns load as Long)
  int length = 0;                   // char(n)
  int scale = 0;                    // decimal(n)
  std::string db_name;              // table column written by update ("cwtsbh"); empty = not updatable
  bool key = false;                 // part of the update key
  std::optional<Value> initial;     // value of a newly inserted row
  SourcePos pos;
};

// A code table: stored data value ↔ shown text, in the order they are offered.
struct CodeEntry {
  std::string display;
  std::string data;
};

enum class EditStyle { Edit, CheckBox, Radio, DropDown, Display };

enum class Align { Left, Center, Right };

// One object of the presentation.
struct ObjectDef {
  enum class Kind { Text, Column, Compute, Report, Picture, Line };
  Kind kind = Kind::Text;
  std::string name;                 // "cwtsbh_t", "cwtsbh", "compute_1", "dw_1"; lower case; unique in the definition
  std::string text;                 // Text: the text (modify "x_t.text = '...'" changes it)
  std::string column;               // Column: the column shown
  std::string expression;           // Compute: the expression
  std::string format;               // display format; "" = [general]
  std::vector<CodeEntry> codetable;  // Column: stored value -> shown text
  EditStyle edit = EditStyle::Edit;
  std::string checkbox_text;        // CheckBox: its label
  std::string checkbox_on = "1", checkbox_off = "0";
  std::string visible;              // visibility expression; "" = always shown, "0" = never
  std::string protect_expression;   // Column: not editable where this gives non-zero ("" = see `protect`)
  std::string under;                // Grid footer: the grid column under which the object stands
  std::string dataobject;           // Report: the nested definition
  std::vector<std::string> arguments;  // Report: expressions giving its retrieval arguments, in order
  std::string file;                 // Picture: file name
  std::string heading;              // Grid column: the heading text (the "<name>_t" text object)
  // Layout: width in millimetres (0 = share what is left of the row), alignment, type size and weight.
  double width_mm = 0;
  Align align = Align::Left;
  double font_pt = 0;               // 0 = the definition's default
  bool bold = false;
  bool border = false;              // ruled cell (ruled tables of the printed forms)
  bool protect = false;             // Column: not editable
  SourcePos pos;
};

// A band: header, detail (once per row), summary (once, after the rows),
// footer (per page / under a grid). A band of a form or report is a list of
// rows, each a list of objects laid out left to right.
struct RowDef {
  std::vector<ObjectDef> objects;
  double height_mm = 0;             // 0 = from the content
};

struct BandDef {
  std::vector<RowDef> rows;
};

struct Definition {
  enum class Style { Grid, Form, Report };

  std::string name;                 // "d_svc305_jsd1"
  std::string file;                 // "data/d_svc305_jsd1.yaml"
  Style style = Style::Grid;
  std::string title;                // optional caption for previews
  // An expression of the retrieval arguments giving, in words, the range a
  // printed list covers ("'结算日期：' + qsrq + ' 至 ' + jsrq"); "" = none.
  std::string range;
  int range_line = 0;               // its line in the file, for messages
  std::string query;                // Transact-SQL with :arguments
  std::vector<ArgumentDef> arguments;
  std::vector<ColumnDef> columns;
  std::string update_table;         // "" = not updatable
  BandDef header, detail, summary, footer;
  // Grids: the shown columns in order (also present as Column objects in detail,
  // with their headings as Text objects "<name>_t" in header).
  // Grids: header holds one row of the heading texts, detail one row of the
  // shown columns (both left to right), footer one row of the objects under
  // the grid, each naming its column in `under`.
  // Computed fields that are not shown (the file's `computes:`): used by other
  // expressions only; in no band, so renderers never lay them out.
  std::vector<ObjectDef> hidden_computes;
  double font_pt = 10;
  double page_width_mm = 210, page_height_mm = 297;  // printed size
  bool landscape = false;

  // Lookups (names lower case).
  const ColumnDef* find_column(std::string_view name) const;
  int column_index(std::string_view name) const;    // -1 when absent
  const ObjectDef* find_object(std::string_view name) const;
  // Every object of every band, in band order (header, detail, summary, footer),
  // followed by the hidden computed fields.
  std::vector<const ObjectDef*> objects() const;
  // The Compute objects, in order (bands, then hidden ones): the data window's
  // computed fields, numbered from 0 in this order.
  std::vector<const ObjectDef*> computes() const;
  // The band holding `object` (nullptr for a hidden computed field or a
  // foreign object).
  const BandDef* band_of(const ObjectDef& object) const;
};

using DefinitionPtr = std::shared_ptr<const Definition>;

// "grid", "form" or "report", as definition files and the workstation name the style.
const char* style_name(Definition::Style style);

}  // namespace kq::dw

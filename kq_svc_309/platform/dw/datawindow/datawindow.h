#pragma once
// The data window control as window code uses it: a definition (dataobject),
// a transaction, rows retrieved by the definition's query in three buffers
// with row and item statuses, the current row and selection, filter and
// sort through the expression engine, modify/describe of the properties the
// windows use, the pending edit of the user interface, update() of an
// updatable definition, and the full state as a blob that renders again
// without the database. It is also the Presentation that renderers draw.
//
//   DataWindow dw;
//   dw.dataobject("d_svc305_01");
//   dw.settransobject(sqlca);
//   long n = dw.retrieve(is_jsrq, is_qsrq);      // -1: sqlca.sqlerrtext says why
//   Str bh = dw.getitemstring(dw.getrow(), "cwtsbh");
//
// Rows are numbered from 1 within their buffer; a row number out of range
// reads as null and makes setters return -1. Columns are named (any case) or
// numbered from 1. Results follow the runtime: 1 (or a count) on success, -1
// on failure with last_error() telling why. Not thread-safe: a data window
// belongs to its session's thread.
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/transaction.h"
#include "platform/dw/datawindow/bound_definition.h"
#include "platform/dw/datawindow/evaluator.h"
#include "platform/dw/datawindow/item_status.h"
#include "platform/dw/datawindow/row_buffers.h"
#include "platform/dw/definition/loader.h"
#include "platform/dw/render/presentation.h"

namespace kq::dw {

// A column by name (any case) or by number from 1 (0 stands for the whole
// row where a status is asked or set).
class ColumnRef {
 public:
  ColumnRef(const char* name) : name_(name) {}              // NOLINT(google-explicit-constructor)
  ColumnRef(std::string_view name) : name_(name) {}         // NOLINT
  ColumnRef(const std::string& name) : name_(name) {}       // NOLINT
  ColumnRef(int number) : number_(number) {}                // NOLINT
  bool by_number() const { return number_ >= 0; }
  int number() const { return number_; }
  const std::string& name() const { return name_; }

 private:
  std::string name_;
  int number_ = -1;
};

class DataWindow final : public Presentation {
 public:
  // An edit the user typed into an item and the user interface has not yet
  // handed over; accepttext() validates and stores it.
  struct PendingEdit {
    long row = 0;
    std::string column;
    std::string text;
  };
  // Called by accepttext() before a pending edit is stored, with the row,
  // the column name and the typed text: 0 stores it, 1 rejects it
  // (accepttext() gives -1 and the edit stays pending), 2 drops it without
  // storing.
  using ItemChanged = std::function<int(long row, std::string_view column, const std::string& data)>;

  // `functions`: the global functions expressions call (null: global_functions()).
  // `definitions`: where dataobject(name) and nested reports find definitions
  // (empty: the embedded ones).
  explicit DataWindow(const expr::FunctionRegistry* functions = nullptr, DefinitionLookup definitions = {});
  ~DataWindow() override;
  DataWindow(const DataWindow&) = delete;
  DataWindow& operator=(const DataWindow&) = delete;

  // --- Definition and transaction -------------------------------------------
  // Sets the definition by name and drops every row, the filter, the sort,
  // the modifications, the selection and the pending edit. The transaction
  // stays. 1, or -1 when the definition cannot be had (last_error()).
  int dataobject(std::string_view name);
  int dataobject(DefinitionPtr definition);
  // The definition's name; "" without one.
  const std::string& dataobject() const { return dataobject_; }
  bool has_definition() const { return bound_ != nullptr; }

  // The transaction that retrieve() and update() use; it must outlive them.
  int settransobject(db::Transaction& transaction);
  db::Transaction* transobject() const { return trans_; }

  // --- Retrieval -----------------------------------------------------------
  // Runs the query with the arguments matched in order to the definition's
  // retrieval arguments (converted to their types); every buffer is emptied
  // first, and the filter and sort that are set are applied to the new rows. The
  // number of rows in the primary buffer, or -1: without definition or
  // transaction, with a wrong number of arguments, or on a database error
  // (the transaction's sqlcode and sqlerrtext keep it).
  long retrieve(std::span<const Value> arguments);
  long retrieve(const std::vector<Value>& arguments) { return retrieve(std::span<const Value>(arguments)); }
  template <typename... A>
  long retrieve(const A&... arguments) {
    std::array<Value, sizeof...(A)> values{Value(arguments)...};
    return retrieve(std::span<const Value>(values.data(), values.size()));
  }
  // The arguments of the last retrieval.
  const std::vector<Value>& retrieval_arguments() const { return args_; }
  // Drops every row of every buffer (the definition, filter and sort stay).
  int reset();

  // --- Rows ----------------------------------------------------------------
  long rowcount() const;        // primary buffer: rows passing the filter
  long filteredcount() const;   // filter buffer
  long deletedcount() const;    // delete buffer
  long modifiedcount() const;   // rows of primary and filter with DataModified or NewModified
  // The current row of the primary buffer; 0 without rows.
  long getrow() const;
  // Makes a row current: 1, or -1 when it is out of range.
  int setrow(long row);
  // Scrolls to a row and makes it current (past the end: the last row); -1 for row < 1 or no rows.
  int scrolltorow(long row);
  // Selects (flag true) or deselects a row, every row for row 0. 1 or -1.
  int selectrow(long row, bool flag);
  bool isselected(long row) const;
  // The first selected row after `after`; 0 when none.
  long getselectedrow(long after) const;
  // Inserts an empty row (initial values of the definition) before `before`,
  // at the end for 0; status New. The number of the new row, or -1. The
  // current row stays (a data window without one makes the new row current).
  long insertrow(long before);
  // Moves a row (0: the current one) to the delete buffer; a row inserted
  // since the last update is dropped instead. 1 or -1.
  int deleterow(long row);

  // --- Items ---------------------------------------------------------------
  // The value of an item (`original`: as retrieved or last saved); null when
  // the row or column does not exist.
  Value getitem(long row, const ColumnRef& column, Buffer buffer = Buffer::Primary, bool original = false) const;
  Str getitemstring(long row, const ColumnRef& column, Buffer buffer = Buffer::Primary, bool original = false) const;
  Dec getitemnumber(long row, const ColumnRef& column, Buffer buffer = Buffer::Primary, bool original = false) const;
  Dec getitemdecimal(long row, const ColumnRef& column, Buffer buffer = Buffer::Primary, bool original = false) const;
  Dt getitemdatetime(long row, const ColumnRef& column, Buffer buffer = Buffer::Primary, bool original = false) const;
  // Sets an item of the primary buffer, converted to the column's type, and
  // marks it modified (the row DataModified, or NewModified when new). 1, or
  // -1 for a row or column that does not exist or a value that does not convert.
  int setitem(long row, const ColumnRef& column, const Value& value);
  int setitem(long row, const ColumnRef& column, Buffer buffer, const Value& value);

  // Status of an item, or of the row for column 0.
  ItemStatus getitemstatus(long row, const ColumnRef& column, Buffer buffer = Buffer::Primary) const;
  // Sets the status of an item (NotModified or DataModified) or of the row
  // (column 0). For a row: NotModified makes the row and its items count as
  // saved; DataModified marks every item changed (NewModified for a new
  // row); New and NewModified make the row one to insert. 1, or -1 for a
  // status an item cannot have or a row or column that does not exist.
  int setitemstatus(long row, const ColumnRef& column, Buffer buffer, ItemStatus status);

  // --- Filter and sort -----------------------------------------------------
  // Sets the filter expression (blank: none); -1 when it does not compile.
  int setfilter(std::string_view text);
  // Applies the filter: rows of the primary and filter buffers that pass are
  // in the primary buffer (those already there first, in their order), the
  // others in the filter buffer; a sort that was applied is applied again
  // (rows that tie then keep the order of retrieval).
  int filter();
  // Sets the sort keys ("djsrq D ,cwtsbh A"); -1 when a key does not compile.
  int setsort(std::string_view text);
  // Sorts the primary buffer by the keys (stable; nulls first ascending;
  // text in Chinese collation order, Han by pinyin; numbers and dates by value).
  int sort();
  const std::string& filter_text() const { return filter_text_; }
  const std::string& sort_text() const { return sort_text_; }

  // --- Search --------------------------------------------------------------
  // Narrows the rows the person sees to those whose shown texts (the grid's
  // shown columns as displayed: code tables and formats applied; a form's
  // columns and computed fields) contain `text`, ASCII letters in any case.
  // The search comes on top of setfilter's filter, which it leaves as set:
  // rows it hides go to the filter buffer, and filter() and retrieve() apply
  // both. Blank text ends the search. Applies at once (as filter() does). 1,
  // or -1 without a definition.
  int setsearch(std::string_view text);
  // The search in force (trimmed); "" when none.
  const std::string& search_text() const { return search_; }
  // Rows that pass the filter, before the search narrowed them (rowcount()
  // without a search), as of the last filter, retrieve or search.
  long searchtotal() const;

  // --- Properties ----------------------------------------------------------
  // Changes properties: "x_t.text = '...'", "x.visible = 0" (or 1, or an
  // expression, quoted; "'0~tif(...)'" takes the expression),
  // "DataWindow.ReadOnly = Yes", "DataWindow.Grid.ColumnMove = No",
  // "DataWindow.Selected.Mouse = No" and other properties kept for describe.
  // "" on success, otherwise the error (assignments before it are kept).
  std::string modify(std::string_view text);
  // Properties, one line per reference: "x_t.text", "x.visible", "x.type",
  // "x.name", "x.expression", "x.format", "x.dataobject", "x.coltype",
  // "x.dbname", "x.band", "DataWindow.ReadOnly", "DataWindow.Table.Select",
  // "DataWindow.Table.UpdateTable", "DataWindow.Table.Filter",
  // "DataWindow.Table.Sort", "DataWindow.Column.Count" and what modify set;
  // "!" for what does not exist.
  std::string describe(std::string_view text) const;
  bool readonly() const { return readonly_; }
  void set_readonly(bool on) { readonly_ = on; }
  // Drawing on or off while the window changes many things; 1.
  int setredraw(bool flag) {
    redraw_ = flag;
    return 1;
  }
  bool redraw() const { return redraw_; }

  // --- Editing -------------------------------------------------------------
  void set_pending_edit(long row, std::string column, std::string text);
  void clear_pending_edit() { pending_.reset(); }
  const std::optional<PendingEdit>& pending_edit() const { return pending_; }
  void on_itemchanged(ItemChanged handler) { itemchanged_ = std::move(handler); }
  // Stores the pending edit: 1 (also when there is none), or -1 when the
  // text does not convert to the column's type or the itemchanged handler
  // rejects it; the edit then stays pending.
  int accepttext();

  // --- Update --------------------------------------------------------------
  // Accepts the pending edit, then writes the changes through the
  // transaction: DELETE for the delete buffer, INSERT for NewModified rows,
  // UPDATE of only the changed columns for DataModified rows, each keyed by
  // the key columns' original values, all values bound. 1 and the statuses
  // reset; or -1 with the statuses kept and sqlcode/sqlerrtext on the
  // transaction (a row that no longer matches its key fails too). Neither
  // commits nor rolls back.
  int update();
  // Every row NotModified, the delete buffer emptied.
  int resetupdate();

  // --- State ---------------------------------------------------------------
  // The full state (definition name, arguments, rows of every buffer with
  // statuses, modifications, nested reports' states, and the results of the
  // global functions the presentation uses) as a versioned JSON blob.
  // Nested reports of every row are retrieved first when a transaction is set.
  Blob state_blob();
  // Restores a state_blob(); the data window then shows exactly what it
  // showed, without a database, until the next retrieve. On failure it is
  // left empty, and the error's kind says why: Foreign (no data window state
  // of this program), Corrupt (one cut off, garbled or without a valid
  // version), UnsupportedVersion (written by a newer program); any other
  // failure (a definition this program lacks, a value that does not fit)
  // is Other.
  Result<void> restore_state(const Blob& blob);
  // restore_state as the runtime's call: 1, or -1 with last_error().
  int from_state_blob(const Blob& blob);

  // --- Other ---------------------------------------------------------------
  const std::string& last_error() const { return error_; }
  // Bytes held for rows and buffers.
  std::size_t memory_bytes() const;
  // A column object that the user may not edit for `row` (its protect
  // expression, or the data window read-only).
  bool is_protected(const ObjectDef& object, long row) const;
  // Evaluates an expression text for a row of the primary buffer (0: no
  // row); null when it does not compile.
  Value evaluate(std::string_view expression, long row) const;
  // The value of a column or computed field object of the definition for a
  // row of the primary buffer, through its compiled expression; null for
  // other objects.
  Value object_value(const ObjectDef& object, long row) const;

  // --- Presentation ----------------------------------------------------------
  const Definition& definition() const override;
  long row_count() const override { return rowcount(); }
  long current_row() const override { return getrow(); }
  bool is_selected(long row) const override { return isselected(row); }
  bool visible(const ObjectDef& object, long row) const override;
  std::string display_text(const ObjectDef& object, long row) const override;
  bool checked(const ObjectDef& object, long row) const override;
  const Presentation* nested(const ObjectDef& object, long row) const override;

 private:
  struct SortKeyCompiled {
    Compiled key;
    bool descending = false;
  };
  struct VisibleOverride {
    std::string text;
    std::optional<Compiled> expression;  // none: always shown ("1") or never ("0")
    bool shown = true;
  };
  struct NestedEntry {
    std::string report;                  // the Report object's name
    std::vector<Value> arguments;        // its retrieval arguments
    std::unique_ptr<DataWindow> window;  // null when it could not be retrieved
  };

  int fail(std::string message);
  // Forgets filter, sort, modifications, pending edit and arguments.
  void reset_settings();
  // Compiles filter, sort and modified visibility again (after binding anew).
  void recompile_settings();
  int bind(DefinitionPtr definition, std::shared_ptr<FunctionMemo> functions);
  void clear_rows();
  // The store index of a row of a buffer; nullopt when out of range.
  std::optional<RowIndex> row_index(long row, Buffer buffer = Buffer::Primary) const;
  expr::RowId row_id(long row) const;
  // Column slot (0-based) of a reference; -1 when it names no column.
  int column_slot(const ColumnRef& column) const;
  // `v` converted to the type of column `slot` for storing; nullopt when it does not convert.
  std::optional<Value> to_column(int slot, const Value& v) const;
  int set_item(RowIndex row, int slot, const Value& converted);
  void apply_filter();
  void apply_sort();
  void place_current_after_change(std::optional<RowIndex> previous);
  std::string describe_one(const std::string& object, const std::string& property) const;
  std::string modify_object(const ObjectDef& object, const std::string& property, const std::string& value);
  Value object_value_at(const ObjectDef& object, expr::RowId id) const;
  std::string display_text_at(const ObjectDef& object, expr::RowId id) const;
  // The rows among `rows` that the search hides move to `hidden` (both keep
  // their order); the search's texts are gathered first when they are stale.
  void narrow_by_search(std::vector<RowIndex>& rows, std::vector<RowIndex>& hidden);
  void build_search_texts();
  // Evaluates every object for every row, so that the global functions the
  // presentation needs are recorded (and nested reports retrieved).
  void touch_presentation();

  friend class StateCodec;  // state_blob.cpp

  const expr::FunctionRegistry* functions_;
  DefinitionLookup definitions_;
  std::shared_ptr<const BoundDefinition> bound_;
  std::string dataobject_;
  db::Transaction* trans_ = nullptr;

  RowBuffers rows_;
  std::vector<Value> args_;
  std::optional<RowIndex> current_;
  Evaluator eval_{rows_, args_, current_};

  std::optional<Compiled> filter_;
  std::string filter_text_;
  std::vector<SortKeyCompiled> sort_;
  std::string sort_text_;
  bool sorted_ = false;  // sort() was applied since the sort was set

  std::string search_;                        // the search text as set (trimmed); "" = none
  std::string search_lowered_;                // the same, ASCII letters lowered
  long search_total_ = 0;                     // rows passing the filter at the last narrowing
  std::vector<std::string> search_texts_;     // by store row: its shown texts, lowered; stale when sized differently

  std::map<std::string, std::string> texts_;               // object -> modified text
  std::map<std::string, VisibleOverride> visible_;         // object -> modified visibility
  std::map<std::string, std::string> properties_;          // "object.property" -> value
  bool readonly_ = false;
  bool redraw_ = true;

  std::optional<PendingEdit> pending_;
  ItemChanged itemchanged_;
  std::string error_;

  // Nested reports by object and argument values (call_key); a restored
  // data window answers from these only.
  mutable std::map<std::string, NestedEntry> nested_;
  bool archived_ = false;
};

}  // namespace kq::dw

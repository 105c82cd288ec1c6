#pragma once
// What a renderer needs of a data window: its definition and, per object and
// row, whether it is shown and the text it shows. The data window object
// implements it; renderers (HTML, PDF) depend only on this interface.
#include <memory>
#include <string>

#include "platform/dw/definition/definition.h"

namespace kq::dw {

class Presentation {
 public:
  virtual ~Presentation() = default;

  virtual const Definition& definition() const = 0;
  // Rows of the primary buffer after filter and sort.
  virtual long row_count() const = 0;
  // The current row (1-based; 0 when none) and whether a row is selected.
  virtual long current_row() const = 0;
  virtual bool is_selected(long row) const = 0;

  // Whether `object` is shown for `row` (its visibility expression; objects
  // of the header, summary and footer bands are evaluated with row = the
  // current row, or 1, or 0 when there are no rows).
  virtual bool visible(const ObjectDef& object, long row) const = 0;
  // The text the object shows for `row`: a Text object's (possibly modified)
  // text; a Column's value through its code table or display format; a
  // Compute's value through its format. Null values give "".
  virtual std::string display_text(const ObjectDef& object, long row) const = 0;
  // A check box column: whether it is checked for `row`.
  virtual bool checked(const ObjectDef& object, long row) const = 0;
  // A Report object: the nested data window for `row` (retrieved with the
  // object's argument expressions), or nullptr when it cannot be had.
  virtual const Presentation* nested(const ObjectDef& object, long row) const = 0;
  // A Column object that the user may not edit for `row`. The default is the
  // object's fixed `protect`; a data window also answers its protect
  // expression and its read-only state.
  virtual bool is_protected(const ObjectDef& object, long row) const {
    (void)row;
    return object.protect;
  }
};

}  // namespace kq::dw

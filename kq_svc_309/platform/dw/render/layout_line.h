#pragma once
// The layout model shared by the HTML and the PDF renderer: the objects of one
// band row resolved for one data row — what each shows and whether it is
// shown. Renderers evaluate nothing themselves: every text, check state and
// nested data window comes from the Presentation.
#include <string>
#include <vector>

#include "platform/dw/definition/definition.h"
#include "platform/dw/render/presentation.h"

namespace kq::dw {

// What a placed object draws.
enum class PlacedKind { Text, Field, CheckBox, Radio, Line, Picture, Report };

struct PlacedObject {
  const ObjectDef* object = nullptr;     // the definition's object; never null once resolved
  PlacedKind kind = PlacedKind::Text;
  long row = 0;                          // the data row it was resolved for (0 = none)
  bool hidden = false;                   // keeps its width, shows nothing
  std::string text;                      // Text, Field: the shown text; CheckBox: its label
  bool checked = false;                  // CheckBox: checked
  int chosen = -1;                       // Radio: index into object->codetable, -1 = none
  const Presentation* nested = nullptr;  // Report: the nested data window (null = nothing to show)
};

// One band row resolved for one data row.
struct PlacedLine {
  const RowDef* def = nullptr;
  std::vector<PlacedObject> objects;

  // Every object is hidden: the line takes no space at all. (A line without
  // objects is not collapsed: it keeps its declared height.)
  bool collapsed() const;
  // The shown nested report when it is the only thing the line shows (the
  // other objects are hidden or empty texts); such a line may break across
  // pages. Null otherwise.
  const PlacedObject* lone_report() const;
};

// The row that objects of the header, summary and footer bands are resolved
// for: the current row, else 1, else 0 when there are no rows.
long band_row(const Presentation& p);

// Whether the object is hidden for `row` (the Presentation's visibility,
// which includes changes made by modify).
bool object_hidden(const Presentation& p, const ObjectDef& object, long row);

// Resolves one object for `row`. Column objects resolved for row 0 (no rows)
// show nothing; Text and Compute objects are still asked for their text.
PlacedObject resolve_object(const Presentation& p, const ObjectDef& object, long row);
PlacedLine resolve_line(const Presentation& p, const RowDef& def, long row);

// The type size of an object in points: its own, else the definition's, else 10.
double object_font_pt(const Definition& def, const ObjectDef& object);
// The definition's default type size in points (10 when it declares none).
double default_font_pt(const Definition& def);

}  // namespace kq::dw

#include "platform/dw/render/layout_line.h"

namespace kq::dw {

bool PlacedLine::collapsed() const {
  if (objects.empty()) return false;
  for (const PlacedObject& o : objects) {
    if (!o.hidden) return false;
  }
  return true;
}

const PlacedObject* PlacedLine::lone_report() const {
  const PlacedObject* report = nullptr;
  for (const PlacedObject& o : objects) {
    if (o.hidden) continue;
    if (o.kind == PlacedKind::Report) {
      if (report) return nullptr;
      report = &o;
    } else if (!(o.kind == PlacedKind::Text && o.text.empty())) {
      return nullptr;
    }
  }
  return report;
}

long band_row(const Presentation& p) {
  long current = p.current_row();
  if (current > 0 && current <= p.row_count()) return current;
  return p.row_count() > 0 ? 1 : 0;
}

bool object_hidden(const Presentation& p, const ObjectDef& object, long row) {
  return !p.visible(object, row);
}

namespace {

// The index of the code table entry a radio column shows: matched by its
// shown text, else by its stored value (a code outside the table shows as is).
int chosen_entry(const ObjectDef& object, const std::string& shown) {
  for (size_t i = 0; i < object.codetable.size(); ++i) {
    if (object.codetable[i].display == shown) return static_cast<int>(i);
  }
  for (size_t i = 0; i < object.codetable.size(); ++i) {
    if (object.codetable[i].data == shown) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

PlacedObject resolve_object(const Presentation& p, const ObjectDef& object, long row) {
  PlacedObject placed;
  placed.object = &object;
  placed.row = row;
  placed.hidden = object_hidden(p, object, row);
  switch (object.kind) {
    case ObjectDef::Kind::Text:
      placed.kind = PlacedKind::Text;
      if (!placed.hidden) placed.text = p.display_text(object, row);
      break;
    case ObjectDef::Kind::Compute:
      placed.kind = PlacedKind::Field;
      if (!placed.hidden) placed.text = p.display_text(object, row);
      break;
    case ObjectDef::Kind::Column:
      if (object.edit == EditStyle::CheckBox) {
        placed.kind = PlacedKind::CheckBox;
        placed.text = object.checkbox_text;
        if (!placed.hidden && row > 0) placed.checked = p.checked(object, row);
      } else if (object.edit == EditStyle::Radio) {
        placed.kind = PlacedKind::Radio;
        if (!placed.hidden && row > 0) {
          placed.text = p.display_text(object, row);
          placed.chosen = chosen_entry(object, placed.text);
        }
      } else {
        placed.kind = PlacedKind::Field;
        if (!placed.hidden && row > 0) placed.text = p.display_text(object, row);
      }
      break;
    case ObjectDef::Kind::Report:
      placed.kind = PlacedKind::Report;
      if (!placed.hidden) placed.nested = p.nested(object, row);
      break;
    case ObjectDef::Kind::Picture:
      placed.kind = PlacedKind::Picture;
      break;
    case ObjectDef::Kind::Line:
      placed.kind = PlacedKind::Line;
      break;
  }
  return placed;
}

PlacedLine resolve_line(const Presentation& p, const RowDef& def, long row) {
  PlacedLine line;
  line.def = &def;
  line.objects.reserve(def.objects.size());
  for (const ObjectDef& object : def.objects) line.objects.push_back(resolve_object(p, object, row));
  return line;
}

double default_font_pt(const Definition& def) { return def.font_pt > 0 ? def.font_pt : 10.0; }

double object_font_pt(const Definition& def, const ObjectDef& object) {
  return object.font_pt > 0 ? object.font_pt : default_font_pt(def);
}

}  // namespace kq::dw

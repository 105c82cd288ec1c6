#include "platform/dw/definition/definition.h"

#include "platform/value/text.h"

namespace kq::dw {
namespace {

template <typename Fn>
void for_each_object(const Definition& d, Fn&& fn) {
  for (const BandDef* band : {&d.header, &d.detail, &d.summary, &d.footer})
    for (const RowDef& row : band->rows)
      for (const ObjectDef& o : row.objects) fn(o);
  for (const ObjectDef& o : d.hidden_computes) fn(o);
}

}  // namespace

const ColumnDef* Definition::find_column(std::string_view name) const {
  int i = column_index(name);
  return i < 0 ? nullptr : &columns[static_cast<size_t>(i)];
}

int Definition::column_index(std::string_view name) const {
  for (size_t i = 0; i < columns.size(); ++i)
    if (text::iequals(columns[i].name, name)) return static_cast<int>(i);
  return -1;
}

const ObjectDef* Definition::find_object(std::string_view name) const {
  const ObjectDef* found = nullptr;
  for_each_object(*this, [&](const ObjectDef& o) {
    if (!found && text::iequals(o.name, name)) found = &o;
  });
  return found;
}

std::vector<const ObjectDef*> Definition::objects() const {
  std::vector<const ObjectDef*> out;
  for_each_object(*this, [&](const ObjectDef& o) { out.push_back(&o); });
  return out;
}

std::vector<const ObjectDef*> Definition::computes() const {
  std::vector<const ObjectDef*> out;
  for_each_object(*this, [&](const ObjectDef& o) {
    if (o.kind == ObjectDef::Kind::Compute) out.push_back(&o);
  });
  return out;
}

const BandDef* Definition::band_of(const ObjectDef& object) const {
  for (const BandDef* band : {&header, &detail, &summary, &footer})
    for (const RowDef& row : band->rows)
      for (const ObjectDef& o : row.objects)
        if (&o == &object) return band;
  return nullptr;
}

const char* style_name(Definition::Style style) {
  switch (style) {
    case Definition::Style::Grid: return "grid";
    case Definition::Style::Form: return "form";
    case Definition::Style::Report: return "report";
  }
  return "grid";
}

}  // namespace kq::dw

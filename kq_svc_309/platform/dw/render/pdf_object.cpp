#include "platform/dw/render/pdf_object.h"

#include <algorithm>

#include "platform/dw/render/pdf_band.h"

namespace kq::dw {

namespace {

constexpr double kRuleLineMm = 0.3;   // a Line object
constexpr double kLineObjectMm = 1.0; // the height a Line object takes
constexpr double kMarkGapMm = 1.0;    // between a check/radio mark and its text
constexpr double kChoiceGapMm = 3.0;  // between radio choices

double text_cell(PdfCanvas& canvas, const std::string& text, const PdfTextStyle& style,
                 const PdfBox& box, PdfCellMode mode, bool centred) {
  const double inner = std::max(box.width - 2 * kCellPadX, 0.1);
  const double h = canvas.text_height(text, style, inner) + 2 * kCellPadY;
  if (mode == PdfCellMode::Draw) {
    const double offset = centred ? std::max((box.height - h) / 2, 0.0) : 0;
    canvas.draw_text(text, style, box.x + kCellPadX, box.y + kCellPadY + offset, inner);
  }
  return h;
}

double checkbox_cell(PdfCanvas& canvas, const PlacedObject& o, const PdfTextStyle& style,
                     const PdfBox& box, PdfCellMode mode, bool centred) {
  const double lh = canvas.line_height(style);
  const double mark = lh * 0.7;
  const double label_w = std::max(box.width - 2 * kCellPadX - mark - kMarkGapMm, 0.1);
  PdfTextStyle label_style = style;
  label_style.align = Align::Left;
  const double content = o.text.empty() ? lh : std::max(lh, canvas.text_height(o.text, label_style, label_w));
  const double h = content + 2 * kCellPadY;
  if (mode == PdfCellMode::Draw) {
    const double top = box.y + kCellPadY + (centred ? std::max((box.height - h) / 2, 0.0) : 0);
    double mark_x = box.x + kCellPadX;
    // A lone check box follows the object's alignment.
    if (o.text.empty() && style.align != Align::Left) {
      const double inner = box.width - 2 * kCellPadX;
      mark_x += style.align == Align::Center ? (inner - mark) / 2 : inner - mark;
    }
    canvas.draw_checkbox(mark_x, top + (lh - mark) / 2, mark, o.checked);
    if (!o.text.empty()) canvas.draw_text(o.text, label_style, mark_x + mark + kMarkGapMm, top, label_w);
  }
  return h;
}

// Radio choices flow left to right and wrap to further lines.
double radio_cell(PdfCanvas& canvas, const PlacedObject& o, const PdfTextStyle& style,
                  const PdfBox& box, PdfCellMode mode, bool centred) {
  const auto& table = o.object->codetable;
  PdfTextStyle text_style = style;
  text_style.align = Align::Left;
  const double lh = canvas.line_height(text_style);
  const double mark = lh * 0.7;
  const double left = box.x + kCellPadX, right = box.x + box.width - kCellPadX;
  int lines = 1;
  double cx = left;
  struct Spot { double x; int line; double text_w; };
  std::vector<Spot> spots;
  std::vector<std::string> labels;
  for (const CodeEntry& e : table) labels.push_back(e.display);
  if (o.chosen < 0 && !o.text.empty()) labels.push_back(o.text);  // a code outside the table
  for (const std::string& label : labels) {
    const double tw = canvas.text_width(label, text_style);
    const double w = mark + kMarkGapMm + tw;
    if (cx > left && cx + w > right) {
      ++lines;
      cx = left;
    }
    spots.push_back({cx, lines - 1, tw});
    cx += w + kChoiceGapMm;
  }
  const double h = lines * lh + 2 * kCellPadY;
  if (mode == PdfCellMode::Draw) {
    const double top = box.y + kCellPadY + (centred ? std::max((box.height - h) / 2, 0.0) : 0);
    for (size_t i = 0; i < spots.size(); ++i) {
      const double y = top + spots[i].line * lh;
      const bool in_table = i < table.size();
      if (in_table) canvas.draw_radio(spots[i].x, y + (lh - mark) / 2, mark, static_cast<int>(i) == o.chosen);
      const double tx = in_table ? spots[i].x + mark + kMarkGapMm : spots[i].x;
      canvas.draw_text(labels[i], text_style, tx, y, std::max(right - tx, spots[i].text_w));
    }
  }
  return h;
}

double nested_cell(PdfContext& ctx, const PlacedObject& o, const PdfBox& box, PdfCellMode mode) {
  if (!o.nested || ctx.depth >= PdfContext::kMaxNesting) return 0;
  PdfContext inner = ctx;
  inner.depth = ctx.depth + 1;
  const Presentation& nested = *o.nested;
  PdfFlow& flow = *ctx.flow;
  auto draw = [&](PdfFlow&) { emit_pdf_nested(inner, nested, box.x, box.width); };
  if (mode == PdfCellMode::Measure) return flow.measure(draw);
  const double saved = flow.y();
  flow.set_y(box.y);
  flow.keep_together(draw);
  const double h = flow.y() - box.y;
  flow.set_y(saved);
  return h;
}

// A picture takes its object's width and the height of its proportions (at
// most kMaxPictureMm); a picture whose file is not there takes no space.
double picture_cell(PdfContext& ctx, const PlacedObject& o, const PdfBox& box, PdfCellMode mode) {
  const std::string* png = ctx.pictures ? ctx.pictures->get(o.object->file) : nullptr;
  const PixelSize size = png ? png_size(*png) : PixelSize{};
  if (size.width == 0 || size.height == 0 || box.width <= 0) return 0;
  const double h = std::min(box.width * size.height / size.width, kMaxPictureMm);
  if (mode == PdfCellMode::Draw) ctx.flow->canvas().draw_png(*png, box.x, box.y, box.width, h);
  return h;
}

}  // namespace

PdfTextStyle pdf_text_style(const Definition& def, const ObjectDef& object) {
  PdfTextStyle style;
  style.font_pt = object_font_pt(def, object);
  style.bold = object.bold;
  style.align = object.align;
  return style;
}

double pdf_object(PdfContext& ctx, const Presentation& p, const PlacedObject& o, const PdfBox& box,
                  PdfCellMode mode, bool centred) {
  if (o.hidden) return 0;
  PdfCanvas& canvas = ctx.flow->canvas();
  const PdfTextStyle style = pdf_text_style(p.definition(), *o.object);
  switch (o.kind) {
    case PlacedKind::Text:
    case PlacedKind::Field:
      return text_cell(canvas, o.text, style, box, mode, centred);
    case PlacedKind::CheckBox:
      return checkbox_cell(canvas, o, style, box, mode, centred);
    case PlacedKind::Radio:
      return radio_cell(canvas, o, style, box, mode, centred);
    case PlacedKind::Line:
      if (mode == PdfCellMode::Draw) {
        const double y = box.y + std::max(box.height, kLineObjectMm) / 2;
        canvas.stroke_line(box.x, y, box.x + box.width, y, kRuleLineMm);
      }
      return kLineObjectMm;
    case PlacedKind::Picture:
      return picture_cell(ctx, o, box, mode);
    case PlacedKind::Report:
      return nested_cell(ctx, o, box, mode);
  }
  return 0;
}

}  // namespace kq::dw

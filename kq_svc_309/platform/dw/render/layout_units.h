#pragma once
// Units of the layout model. Definitions measure in millimetres and points;
// PDF pages are drawn in points (1/72 inch); the browser lays out in CSS mm.
namespace kq::dw {

constexpr double kPointsPerMm = 72.0 / 25.4;

constexpr double mm_to_pt(double mm) { return mm * kPointsPerMm; }
constexpr double pt_to_mm(double pt) { return pt / kPointsPerMm; }

}  // namespace kq::dw

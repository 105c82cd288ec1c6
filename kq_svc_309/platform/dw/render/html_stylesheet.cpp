#include "platform/dw/render/html_stylesheet.h"

namespace kq::dw {

std::string_view html_stylesheet() {
  static constexpr std::string_view kCss = R"css(
.kq-dw{font-family:"WenQuanYi Micro Hei",sans-serif;color:#000}
.kq-grid{border-collapse:collapse;table-layout:fixed;font-size:inherit}
.kq-grid th,.kq-grid td{box-sizing:border-box;height:var(--kq-row-height,24px);padding:0 4px;border:1px solid #c8ccd4;white-space:nowrap;overflow:hidden;text-overflow:ellipsis}
.kq-grid th{background:#eef1f6;font-weight:bold;text-align:center}
.kq-grid tr.kq-row{cursor:default}
.kq-grid tr.kq-current td{background:#e3ecff}
.kq-grid tr.kq-selected td{background:#3b6fd8;color:#fff}
.kq-grid tfoot td{background:#f6f7f9}
.kq-grid tr.kq-spacer td{padding:0;border:0;height:auto}
.kq-grid.kq-ruled th,.kq-grid.kq-ruled td{height:auto;border:0.2mm solid #000;white-space:pre-wrap;overflow-wrap:anywhere;background:none;color:#000}
.kq-left{text-align:left}.kq-center{text-align:center}.kq-right{text-align:right}
.kq-bold{font-weight:bold}
.kq-form,.kq-nested-bands{display:flex;flex-direction:column}
.kq-page{box-sizing:border-box;display:flex;flex-direction:column;margin:4mm auto;background:#fff;box-shadow:0 0 2mm #888}
.kq-page>.kq-footer{margin-top:auto}
.kq-title{font-size:14pt;font-weight:bold;text-align:center;padding:1mm 0}
.kq-line{display:flex;align-items:stretch}
.kq-line:empty{min-height:1.3em}
.kq-obj{box-sizing:border-box;min-width:0;padding:0.3mm 1mm;white-space:pre-wrap;overflow-wrap:anywhere}
.kq-border{box-shadow:0.2mm 0 0 0 #000,0 0.2mm 0 0 #000,0.2mm 0.2mm 0 0 #000,0.2mm 0 0 0 #000 inset,0 0.2mm 0 0 #000 inset}
.kq-image{display:block;max-width:100%;max-height:25mm;margin:0 auto}
.kq-rule{align-self:center;height:0;padding:0;border-top:0.3mm solid #000}
.kq-nested{padding:0}
.kq-nested .kq-grid{width:100%}
.kq-edit{border-bottom:1px solid #9aa3b0;min-height:1.4em}
.kq-radio label{margin-right:1em;white-space:nowrap}
@media print{.kq-page{margin:0;box-shadow:none}}
)css";
  return kCss;
}

}  // namespace kq::dw

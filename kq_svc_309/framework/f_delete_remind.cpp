#include "framework/f_delete_remind.h"

#include <string>

#include "framework/f_msg.h"
#include "framework/session.h"
#include "platform/value/format.h"
#include "platform/value/text.h"

namespace kq::fw {

int f_delete_remind(std::string_view kind, std::string_view keys, const dw::DataWindow& dw) {
  (void)kind;
  std::string text = "确定要删除当前记录吗？";
  const long row = dw.getrow();
  if (row > 0 && dw.has_definition()) {
    std::string described;
    size_t start = 0;
    while (start <= keys.size()) {
      size_t comma = keys.find(',', start);
      std::string column = text::trim(keys.substr(start, comma == std::string_view::npos ? std::string_view::npos
                                                                                       : comma - start));
      start = comma == std::string_view::npos ? keys.size() + 1 : comma + 1;
      if (column.empty() || !dw.definition().find_column(text::lower(column))) continue;
      std::string heading = dw.describe(column + "_t.text");
      if (heading.empty() || heading == "!") heading = column;
      described += (described.empty() ? "" : "，") + heading + "：" + format::general(dw.getitem(row, column));
    }
    if (!described.empty()) text += "\n" + described;
  }
  int answer = messagebox(g().gs_tsxx, text, ui::Icon::Question, ui::Buttons::YesNo, 2);
  return answer == 1 ? 1 : 2;
}

}  // namespace kq::fw

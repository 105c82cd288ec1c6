#include "platform/dw/render/html_escape.h"

#include <gtest/gtest.h>

#include "platform/dw/render/html_render.h"
#include "definition_builders.h"
#include "html_probe.h"
#include "memory_presentation.h"

namespace kq::dw {
namespace {

using testing::MemoryPresentation;

TEST(HtmlEscape, EscapesMarkupQuotesAndDropsControlCharacters) {
  EXPECT_EQ(html_escape("<b>&\"'</b>"), "&lt;b&gt;&amp;&quot;&#39;&lt;/b&gt;");
  EXPECT_EQ(html_escape(std::string("a\0b\x01\x1f\x7f" "c", 7)), "abc");
  EXPECT_EQ(html_escape("行1\n\t行2\r"), "行1\n\t行2\r");
  EXPECT_EQ(html_escape("&amp;"), "&amp;amp;");  // already escaped text is still text
  // Bytes of a legacy encoding become replacement characters, also next to markup.
  EXPECT_EQ(html_escape("\xD5\xC5<"), "\xEF\xBF\xBD\xEF\xBF\xBD&lt;");
}

TEST(HtmlEscape, AttributeValueCannotEndTheAttribute) {
  std::string out;
  append_attribute(out, "data-x", "\" onmouseover=\"alert(1)");
  EXPECT_EQ(out, " data-x=\"&quot; onmouseover=&quot;alert(1)\"");
}

constexpr const char* kHostile = "<script>alert('x')</script>\"><img src=x onerror=alert(1)>";

// Whatever the renderer wrote, no hostile markup survives as markup.
void expect_inert(const std::string& html) {
  EXPECT_EQ(html.find("<script"), std::string::npos);
  EXPECT_EQ(html.find("<img"), std::string::npos);
  EXPECT_EQ(html.find("\" onerror"), std::string::npos);
  EXPECT_NE(html.find("&lt;script&gt;"), std::string::npos);
}

TEST(HtmlEscape, HostileTextInEveryPlaceOfAGridIsShownAsText) {
  ObjectDef name = testing::column_obj("ckhmc", 40, kHostile);  // heading too
  ObjectDef flag = testing::column_obj("lshbs", 10, "审核");
  flag.edit = EditStyle::CheckBox;
  flag.checkbox_text = kHostile;
  Definition def = testing::grid_def("d_x", {name, flag}, {testing::under("ckhmc", testing::compute_obj("compute_1"))});
  MemoryPresentation p(def);
  p.add_row({{"ckhmc", kHostile}, {"lshbs", "1"}});
  p.set_text("compute_1", kHostile);
  HtmlOptions o;
  o.id = "dw_1\"><script>x</script>";
  std::string html = render_html(p, o);
  expect_inert(html);
  // The name is in the heading, the cell, the check box label and the footer.
  EXPECT_GE(testing::count_of(html, "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"), 4);
}

TEST(HtmlEscape, HostileTextInFormsAndPreviewsIsShownAsText) {
  ObjectDef status = testing::column_obj("cwxzt", 50);
  status.edit = EditStyle::Radio;
  status.codetable = {{kHostile, "1"}, {"欠账", "\"2\" onclick=\"x"}};
  ObjectDef nested = testing::report_obj("dw_1", "d_items");
  for (auto style : {Definition::Style::Form, Definition::Style::Report}) {
    Definition def = testing::bands_def("d_form", style,
                                        {testing::row_of({testing::text_obj("t_1", kHostile, 20),
                                                          testing::column_obj("ckhmc"), status}),
                                         testing::row_of({nested})});
    def.title = kHostile;
    MemoryPresentation p(def);
    p.add_row({{"ckhmc", kHostile}, {"cwxzt", "1"}});
    auto items = std::make_shared<MemoryPresentation>(
        testing::grid_def("d_items", {testing::column_obj("cxmmc", 30, kHostile)}));
    items->add_row({{"cxmmc", kHostile}});
    p.set_nested("dw_1", items);
    HtmlOptions o;
    o.document = true;
    std::string html = render_html(p, o);
    expect_inert(html);
    EXPECT_EQ(html.find("\"2\" onclick"), std::string::npos);
    EXPECT_NE(html.find("value=\"&quot;2&quot; onclick=&quot;x\""), std::string::npos);
  }
}

}  // namespace
}  // namespace kq::dw

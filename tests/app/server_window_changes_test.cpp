// Only the windows whose state changed travel to the browser.
#include <gtest/gtest.h>

#include "server/window_changes.h"

namespace kq::server {
namespace {

using nlohmann::json;

json win(int id, const std::string& text) { return {{"id", id}, {"title", text}}; }

TEST(WindowChanges, FirstTakeSendsEveryWindowThenOnlyChanges) {
  WindowChanges c;
  json first = c.take(json::array({win(1, "a"), win(2, "b")}));
  EXPECT_EQ(first["windows"].size(), 2u);
  EXPECT_TRUE(first["closed"].empty());
  json same = c.take(json::array({win(1, "a"), win(2, "b")}));
  EXPECT_TRUE(same["windows"].empty());
  json changed = c.take(json::array({win(1, "a"), win(2, "c")}));
  EXPECT_EQ(changed["windows"], json::array({win(2, "c")}));
  json closed = c.take(json::array({win(2, "c")}));
  EXPECT_TRUE(closed["windows"].empty());
  EXPECT_EQ(closed["closed"], json::array({1}));
  c.reset();
  EXPECT_EQ(c.take(json::array({win(2, "c")}))["windows"].size(), 1u);
}

TEST(WindowChanges, MergeKeepsEarlierChangesTheLaterOnesDidNotReplace) {
  json earlier = {{"windows", {win(1, "a1"), win(2, "b1")}}, {"closed", {7}}};
  json later = {{"windows", {win(2, "b2"), win(3, "c")}}, {"closed", {1}}, {"dialog", {{"id", 4}}}};
  json m = merge_changes(earlier, later);
  EXPECT_EQ(m["windows"], json::array({win(2, "b2"), win(3, "c")}));
  EXPECT_EQ(m["closed"], json::array({7, 1}));
  EXPECT_EQ(m["dialog"]["id"], 4);
}

TEST(WindowChanges, AWindowClosedEarlierAndShownLaterIsNotClosed) {
  json m = merge_changes({{"windows", json::array()}, {"closed", {5}}}, {{"windows", {win(5, "again")}}});
  EXPECT_EQ(m["windows"], json::array({win(5, "again")}));
  EXPECT_TRUE(m["closed"].empty());
}

}  // namespace
}  // namespace kq::server

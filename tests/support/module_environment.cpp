// Every test program runs with the module installed, as the application
// runs: its data window definitions, global functions, windows and menu.
#include <gtest/gtest.h>

#include "module.h"

namespace {

class ModuleEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { kq::module::install(); }
};

const auto* const kInstalled = ::testing::AddGlobalTestEnvironment(new ModuleEnvironment);

}  // namespace

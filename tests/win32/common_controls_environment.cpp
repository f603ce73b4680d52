// Every GUI test creates dialogs with common controls: registered once for the whole program.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

class CommonControlsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
  }
};

const ::testing::Environment* const kCommonControls =
    ::testing::AddGlobalTestEnvironment(new CommonControlsEnvironment);

}  // namespace

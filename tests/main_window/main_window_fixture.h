#pragma once
// The main window's test fixture: the window started as the program starts it, with the program's own
// windows and recorded help, guide and exit services, and clicks on its windowless controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/wiring.h"
#include "core/app_state.h"
#include "forms/windowless.h"
#include "main_window/main_window.h"
#include "shared/skin.h"
#include "support/temp_folder.h"
#include "win32/files.h"

namespace qr::test {

struct HelpCall {
  HWND owner;
  std::string file;
  UINT command;
  ULONG_PTR data;
};

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    state_.Program_Folder = folder_.path();
  }

  // Starts the window as the program does (load, then show), with the program's own windows.
  Quelm_Rask_M& Start() {
    MainWindowServices services = ProgramWiring(state_, skin_);
    services.End_Program = [this] { ++ended_; };
    services.End_Session = [this] { ++sessionEnded_; };
    services.Win_Help = [this](HWND owner, const std::string& file, UINT command, ULONG_PTR data) {
      help_.push_back({owner, file, command, data});
    };
    services.Open_Document = [this](HWND owner, const std::string& path) {
      opened_.push_back({owner, path});
      return openerWorks_;
    };
    services.Guide_Folder = guideFolder_;
    window_ = std::make_unique<Quelm_Rask_M>(state_, std::move(services));
    window_->Show();
    forms::DoEvents();
    return *window_;
  }

  std::string IniPath() const { return folder_.File("Quelm_Rask.ini"); }
  std::string IniText() const { return win::ReadFileBytes(IniPath()).value_or(""); }

  TempFolder folder_;
  AppState state_;
  const Skin skin_ = LoadSkin();
  std::unique_ptr<Quelm_Rask_M> window_;
  int ended_ = 0;
  int sessionEnded_ = 0;
  std::vector<HelpCall> help_;
  std::vector<std::pair<HWND, std::string>> opened_;
  bool openerWorks_ = true;
  std::string guideFolder_ = folder_.File("LocalAppData_Quelm_Rask");
};

// Presses at one client point of a container and releases at another (real mouse messages).
inline void PressAndRelease(HWND container, POINT down, POINT up, int button = forms::kLeftButton) {
  const UINT downMsg = button == forms::kRightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
  const UINT upMsg = button == forms::kRightButton ? WM_RBUTTONUP : WM_LBUTTONUP;
  const WPARAM keys = button == forms::kRightButton ? MK_RBUTTON : MK_LBUTTON;
  SendMessageW(container, downMsg, keys, MAKELPARAM(down.x, down.y));
  SendMessageW(container, upMsg, 0, MAKELPARAM(up.x, up.y));
}

inline POINT CentreOf(const forms::Windowless& control) {
  return {control.Left() + control.Width() / 2, control.Top() + control.Height() / 2};
}

inline void Click(const forms::Windowless& control) {
  PressAndRelease(control.Parent()->hwnd(), CentreOf(control), CentreOf(control));
}

}  // namespace qr::test

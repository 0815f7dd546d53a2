#include "app/win/startup.h"

#include "app/win/main_window_parts.h"

#include <commctrl.h>
#include <iterator>
#include <ole2.h>

#include "app/process_values.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "framework/win/main_frame_loop.h"
#include "app/win/main_window.h"
#include "app/win/save_failure_notice.h"
#include "app/win/single_instance.h"
#include "settings/win/win_file_system.h"
#include "language/language_start.h"
#include "desktop/win/theme_start.h"
#include "framework/win/system_library.h"
#include "framework/win/wintext.h"

namespace sorvane::win {

namespace {

Text& IniPathOverride() {
  static Text value;
  return value;
}

void InitCommonControls(DWORD classes) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), classes};
  InitCommonControlsEx(&icc);
}

void MakeDpiAware() {
  using SetAwareFn = BOOL(WINAPI*)();
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32) return;
  auto fn = reinterpret_cast<SetAwareFn>(reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDPIAware")));
  if (fn) fn();
}

Text ProgramFileName() { return Text(FileNameOf(ModuleFileName())); }

}  // namespace

void InstallProcessSettings() {
  static WinFileSystem files;
  static SettingsStore store(files);
  static bool installed = false;
  if (!installed) {
    store.SetWriteFailureSink(TellSaveFailure);
    InstallSettings(&store);
  }
  installed = true;
}

bool AutoupdateTakesOver() { return false; }

int RunAutoupdateService() {
  InstallProcessSettings();
  Settings().LocateIniFile(IniPathOverride());
  UseLanguage(Settings().ReadProgramInt(keys::kLanguage, DetectUserLanguage()));
  return kExitAutoupdateService;
}

int RunInstaller(InstallerMode) { return 0; }

int RunMiniBrowser() {
  // Tell the user instead of ending without a trace.
  MessageBoxW(nullptr, L"The mini browser is not part of this program.", W(Text(kAppName)),
              MB_OK | MB_ICONINFORMATION);
  return 0;
}

int RunMainWindow(const Text& tail, int showCommand) {
  SetCommandLineText(tail);
  InstallProcessSettings();
  Settings().LocateIniFile(IniPathOverride());
  UseLanguage(Settings().ReadProgramInt(keys::kLanguage, DetectUserLanguage()));
  const int theme = Settings().ReadInt(kProductSection, keys::kTheme, keys::kThemeDefault);
  if (theme != 0) InstallTheme(theme);

  MainFrameLoop loop;
  SetCurrentLoop(&loop);
  int result = 0;
  if (StartState().miniBrowser) {
    result = RunMiniBrowser();
  } else {
    MainWindow window;
    AddMainWindowParts(window);
    if (!window.Create(GetModuleHandleW(nullptr))) {
      const Text text = Text(kAppName) + u"Main dialog creation failed!\n";
      MessageBoxW(GetActiveWindow(), W(text), nullptr, MB_OK);
      SetCurrentLoop(nullptr);
      ProcessInstanceMutex().Close();
      return kExitStartFailed;
    }
    if (!StartState().startHidden) ShowWindow(window.Window(), showCommand);
    result = loop.Run();
  }
  ProcessInstanceMutex().Close();
  SetCurrentLoop(nullptr);
  return result;
}

int RunProcess(HINSTANCE, const wchar_t* tailText, int showCommand) {
  const Text tail = T(tailText ? tailText : L"");
  CoInitialize(nullptr);
  OleInitialize(nullptr);
  MakeDpiAware();
  InitCommonControls(0x6FF);
  SetCommandLineText(tail);

  auto finish = [](int code) {
    OleUninitialize();
    CoUninitialize();
    return code;
  };

  if (!LoadLanguageStore()) return finish(kExitStartFailed);
  DetectUserLanguage();
  InitCommonControls(0x404);
  if (AutoupdateTakesOver()) return finish(0);

  const SpecialMode special = SpecialModeOf(tail);
  if (special == SpecialMode::kAutoupdateService) return finish(RunAutoupdateService());

  InstanceMessage();
  if (special == SpecialMode::kRestart) {
    ProcessInstanceMutex().Create();
  } else if (special == SpecialMode::kMiniBrowser) {
    StartState().miniBrowser = true;
  } else {
    if (ProcessInstanceMutex().CreateAndCheckRunning()) {
      ProcessInstanceMutex().Close();
      ForwardCommandLine(GetCommandLineW());
      return finish(kExitForwarded);
    }
    CommandLineOptions options;
    if (!tail.empty()) options.Parse(tail);
    StartState().startHidden = StartsHidden(tail, options);
    IniPathOverride() = IniPathOverrideFrom(options);
    const InstallerMode installer = ChooseInstallerMode(options, ProgramFileName());
    if (installer != InstallerMode::kNone) {
      ProcessInstanceMutex().Close();
      return finish(RunInstaller(installer));
    }
  }
  return finish(RunMainWindow(tail, showCommand));
}

}  // namespace sorvane::win

#include "app/win/main_window_parts.h"

#include "app/win/main_window.h"
#include "app/win/button_bars_part.h"
#include "app/win/program_menu_part.h"
#include "app/win/tray_menu.h"
#include "app/win/window_actions_part.h"
#include "app/win/window_modes_part.h"
#include "desktop/win/media_keys_part.h"
#include "desktop/win/taskbar_buttons.h"
#include "desktop/win/theme_win.h"
#include "desktop/win/tray_part.h"
#include "language/win/language_part.h"
#include "medialist/media_list_rows.h"
#include "medialist/win/adding_part.h"
#include "medialist/win/media_list_part.h"
#include "medialist/win/playlist_commands.h"
#include "medialist/win/probe_ahead_win.h"
#include "medialist/win/probe_part.h"
#include "playback/win/calm_video.h"
#include "playback/win/playback_part.h"

namespace sorvane::win {

PlayerParts AddPlayerParts(MainWindow& window) {
  auto lists = std::make_unique<MediaListPart>();
  auto probe = std::make_unique<ProbePart>(*lists);
  auto playback = std::make_unique<PlaybackPart>(lists->Rows(), probe->Backend());
  PlayerParts parts{lists.get(), probe.get(), playback.get()};
  MediaListCallbacks& callbacks = lists->Callbacks();
  callbacks.playUrl = [panel = &playback->Panel()](const Text& path) { panel->Control().PlayUrl(path); };
  callbacks.listLoaded = [probePart = parts.probe](int) { probePart->StartProbe(); };
  window.AddPart(std::move(lists));
  window.AddPart(std::move(probe));
  window.AddPart(std::move(playback));
  return parts;
}

PlayerParts AddMainWindowParts(MainWindow& window) {
  // The program menu below builds the Language submenu; this part keeps its commands.
  window.AddPart(MakeLanguagePart(false));
  const PlayerParts player = AddPlayerParts(window);
  // Early in the routing: while docked, the dock paints the background and
  // takes the mouse before any later part sees them.
  std::unique_ptr<WindowModesPart> modes = MakeWindowModesPart(window, player.playback);
  WindowModesPart* modesPart = modes.get();
  window.AddPart(std::move(modes));
  // Adding comes after the part that loads the shown list, so the start's
  // command line finds that list. Files are probed as they are added with the
  // same backend the window thread uses for the list.
  auto prober = std::make_shared<BackendEntryProber>(player.probe->Backend());
  auto adding = std::make_unique<AddingPart>(player.lists->Controller(),
                                             [prober] { return static_cast<EntryProber*>(prober.get()); });
  // Folders and multiple choices are probed ahead on worker threads, each with its own system backend.
  adding->SetProbeAheadFactory(SystemProbeAheadFactory());
  player.lists->Callbacks().filesDropped = [target = adding.get()](std::vector<Text> paths) {
    target->OnListViewDrop(paths);
  };
  // Playlist files: Export and Import, and those the adding flow meets.
  auto playlists = std::make_unique<PlaylistPart>(player.lists->Controller(),
                                                  [target = adding.get()] { return target->ReadyAdder(); });
  PlaylistPart* playlistPart = playlists.get();
  adding->SetPlaylistOpener([playlistPart](const Text& path, bool askWhere) {
    PlaylistCommands* commands = playlistPart->Commands();
    return commands ? commands->ImportFile(path, askWhere) : PlaylistOpen::kNotPlaylist;
  });
  player.lists->Callbacks().exportPlaylist = [playlistPart] {
    if (PlaylistCommands* commands = playlistPart->Commands()) commands->ExportDialog();
  };
  player.lists->Callbacks().importPlaylist = [playlistPart] {
    if (PlaylistCommands* commands = playlistPart->Commands()) commands->ImportDialog();
  };
  window.AddPart(std::move(adding));
  window.AddPart(std::move(playlists));
  window.AddPart(std::make_unique<ButtonBarsPart>());
  window.AddPart(std::make_unique<WindowActionsPart>());
  ProgramMenuHooks menu;
  menu.setAccelerators = [&window](HACCEL table) { window.SetAccelerators(table); };
  menu.checkValues = [playback = player.playback] {
    const Sequencer* s = playback->Sequence();
    return s ? MenuCheckValues{s->PlayLast(), s->RandomPlay(), s->Repeat()} : MenuCheckValues{};
  };
  window.AddPart(std::make_unique<ProgramMenuPart>(std::move(menu)));
  // The list's context menu is not offered while only the video shows.
  player.lists->Callbacks().contextMenuBlocked = [&window] { return window.Compact(); };
  AddDesktopParts(window, player, modesPart);
  return player;
}

void AddDesktopParts(MainWindow& window, const PlayerParts& player, WindowModesPart* modes) {
  PlayerControl* control = &player.playback->Panel().Control();
  window.AddPart(std::make_unique<CalmVideoPart>(player.playback->Panel()));
  window.AddPart(std::make_unique<ThemePart>());
  auto tray = std::make_unique<TrayPart>();
  TrayHooks& hooks = tray->Hooks();
  hooks.flyOut = [&window] { return window.FlyOut(); };
  if (modes) {
    hooks.collapsed = [modes] { return modes->FlyOutOn() && modes->Dock().IsCollapsed(); };
    hooks.slideOutFor = [modes](int ms) { modes->Dock().SlideOutFor(ms); };
    hooks.collapse = [modes] { modes->Dock().Collapse(); };
  }
  hooks.showTrayMenu = ShowTrayMenu;
  hooks.playingTitle = [control]() -> Text {
    const int32_t state = control->LastPlayState();
    if (state != kPlayStatePlaying && state != kPlayStatePaused) return {};
    return MediaTitleFromPath(control->CurrentUrl());
  };
  window.AddPart(std::move(tray));
  window.AddPart(std::make_unique<MediaKeysPart>([control] { return control->IsPlaying(); }));
  window.AddPart(std::make_unique<TaskbarButtonsPart>([control] { return control->IsPlaying(); }));
}

}  // namespace sorvane::win

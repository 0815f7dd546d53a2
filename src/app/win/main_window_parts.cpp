#include "app/win/main_window_parts.h"

#include "app/win/main_window.h"
#include "app/win/button_bars_part.h"
#include "app/win/program_menu_part.h"
#include "app/win/window_actions_part.h"
#include "language/win/language_part.h"
#include "medialist/media_list_rows.h"
#include "medialist/win/adding_part.h"
#include "medialist/win/media_list_part.h"
#include "medialist/win/probe_part.h"
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
  // Adding comes after the part that loads the shown list, so the start's
  // command line finds that list. Files are probed as they are added with the
  // same backend the window thread uses for the list.
  auto prober = std::make_shared<BackendEntryProber>(player.probe->Backend());
  auto adding = std::make_unique<AddingPart>(player.lists->Controller(),
                                             [prober] { return static_cast<EntryProber*>(prober.get()); });
  player.lists->Callbacks().filesDropped = [target = adding.get()](std::vector<Text> paths) {
    target->OnListViewDrop(paths);
  };
  window.AddPart(std::move(adding));
  window.AddPart(std::make_unique<ButtonBarsPart>());
  window.AddPart(std::make_unique<WindowActionsPart>());
  ProgramMenuHooks menu;
  menu.setAccelerators = [&window](HACCEL table) { window.SetAccelerators(table); };
  menu.checkValues = [playback = player.playback] {
    const Sequencer* s = playback->Sequence();
    return s ? MenuCheckValues{s->PlayLast(), s->RandomPlay(), s->Repeat()} : MenuCheckValues{};
  };
  window.AddPart(std::make_unique<ProgramMenuPart>(std::move(menu)));
  return player;
}

}  // namespace sorvane::win

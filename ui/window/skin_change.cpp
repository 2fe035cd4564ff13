#include "ui/window/skin_change.h"

#include <string>

#include "settings/skin_settings.h"
#include "macro/user_messages.h"
#include "ui/dialogs/skins_dialog.h"

namespace vortal {

void ChangeSkin(MainWindowModel& model) {
  MainWindowServices& services = model.services();
  const SubDialogLook look{model.skin.skinFolderPath, model.textColor(), model.texts.language()};
  CSkinsDialog dialog(look, SkinsRoot(model.files().programDir), model.skin.skinName);
  if (services.RunSubDialog(dialog) != DialogResult::kOk) return;

  const Color color = dialog.color();
  model.skin.skinFolderPath = dialog.folderPath();
  model.skin.textColor = {color.red, color.green, color.blue};
  model.skin.skinName = dialog.skinName();
  if (!SaveSkinChoice(model.files().skinSettingsFile, model.skin.skinName, model.skin.textColor)) {
    services.Show(std::string(model.texts[TextId::kSkinChoiceNotSaved]), kWarningCaption);
  }

  // The page shown is drawn afresh from the new folder, its controls made
  // anew; the window's background bitmap and size stay.
  const int page = model.currentPage();
  if (page == kBasicPage || page == kAdvancedPage) {
    model.TeardownPagesExcept(page == kBasicPage ? kAdvancedPage : kBasicPage);
    model.BuildPage(page);
  } else {
    services.Redraw(model.skin.skinFolderPath, [&](Canvas& canvas) { model.DrawFrame(canvas); });
  }
  services.BringToForeground();
  services.ShowWindow();
}

}  // namespace vortal

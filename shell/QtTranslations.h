#pragma once

class QCoreApplication;

// Makes Qt's own dialogs (file, print, message box buttons) speak Japanese,
// as every text of the program does: loads Qt's Japanese catalogue
// (qtbase_ja.qm, Debian's qt6-translations-l10n) from Qt's translations
// folder into `app`. False when it is not installed; Qt then stays English.
bool installQtTranslations(QCoreApplication &app);

#include "KNOpenRecentMenu.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <utility>

namespace {
// A menu is for choosing, not browsing.
constexpr std::size_t maxEntries = 15;
} // namespace

KNOpenRecentMenu::KNOpenRecentMenu(QMenu* menu, KNRecentDocuments recentDocuments,
                                   std::function<void(const QString&)> open)
    : QObject(menu), menu(menu), recentDocuments(std::move(recentDocuments)),
      open(std::move(open)) {
    connect(menu, &QMenu::aboutToShow, this, [this] { reload(); });
    reload();
}

void KNOpenRecentMenu::reload() {
    menu->clear();
    const std::vector<std::string> files = recentDocuments.recentFiles();
    for (std::size_t i = 0; i < files.size() && i < maxEntries; ++i) {
        const QString path = QString::fromStdString(files[i]);
        QAction* entry = menu->addAction(QFileInfo(path).fileName());
        entry->setToolTip(path);
        entry->setData(path);
        connect(entry, &QAction::triggered, this, [this, path] { open(path); });
    }
    if (files.empty()) {
        menu->addAction(QStringLiteral("No Recent Files"))->setEnabled(false);
    }
}

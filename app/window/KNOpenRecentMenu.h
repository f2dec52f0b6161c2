#pragma once

#include "KNRecentDocuments.h"

#include <QObject>
#include <QString>
#include <functional>

class QMenu;

// Fills a File ▸ Open Recent menu, each time it opens, with the files this program has on the
// desktop's recent list, newest first and only those that still exist.
class KNOpenRecentMenu : public QObject {
public:
    // open is called with the path of the entry chosen.
    KNOpenRecentMenu(QMenu* menu, KNRecentDocuments recentDocuments,
                     std::function<void(const QString&)> open);

    // Rebuilds the entries from the list as it is now.
    void reload();

private:
    QMenu* menu;
    KNRecentDocuments recentDocuments;
    std::function<void(const QString&)> open;
};

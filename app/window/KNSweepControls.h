#pragma once

#include <array>
#include <functional>
#include <memory>

class KNAxisPopups;
class KNParameterRows;
class KNParameterSpaceView;
class KNParameterTableViewOwner;
class KNStatusReporter;
class KNSweepHandles;
class KNTableViewDataSource;
class KNParameterTableView;
class QComboBox;
class QObject;
class QTableWidget;

namespace kinora {
class Exploration;
}

// The sweep as a window's parameter table, axis pop-ups and parameter-space view show it, kept
// in step with the exploration: a row per parameter, each axis named after the parameter mapped
// to it, the handles at the mapped parameters' starts and ends.
class KNSweepControls {
public:
    struct Widgets {
        QTableWidget* table;
        std::array<QComboBox*, 3> popups;
        KNParameterSpaceView* parameterView;
        KNStatusReporter* status;
    };
    // dataSource fills the table with showRow; the rows' edits go to rowOwner. mappingChosen is
    // called whenever the user picks a pop-up item, for as long as context lives. The widgets
    // and the exploration must outlive this.
    KNSweepControls(const Widgets& widgets, kinora::Exploration& exploration,
                    KNTableViewDataSource& dataSource,
                    std::weak_ptr<KNParameterTableViewOwner> rowOwner,
                    const std::function<void()>& mappingChosen, QObject* context);
    ~KNSweepControls();
    KNSweepControls(const KNSweepControls&) = delete;
    KNSweepControls& operator=(const KNSweepControls&) = delete;

    // Fills the table, chains its fields for the keyboard, names the axes and places the
    // handles.
    void showSweep();
    // The row view of a table cell, showing its parameter.
    KNParameterTableView* showRow(QTableWidget* table, int column, int row);
    // After an edit of the parameter at index: the handle on each axis showing it, and its row.
    void showParameterSweep(int index);
    // The mapping the pop-ups select goes to the exploration, and the axes take its names.
    void takeMapping();
    // The mapped parameters take the handles' coordinates, and the table shows them.
    void takeHandles();

private:
    Widgets widgets;
    kinora::Exploration& exploration;
    KNTableViewDataSource& dataSource;
    QObject* context;
    std::unique_ptr<KNAxisPopups> popups;
    std::unique_ptr<KNSweepHandles> handles;
    std::unique_ptr<KNParameterRows> rows;
};

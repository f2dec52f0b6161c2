#pragma once

#include "KNScatterPicture.h"

#include <QWidget>

// A 2-D panel on screen: shows its KNScatterPicture at the widget's size, drawn again only
// where points were added since or the size changed. Changes to the picture are shown from the
// next paint, which refresh() asks for.
class KNScatterView : public QWidget {
public:
    explicit KNScatterView(QWidget* parent = nullptr);

    KNScatterPicture& picture() { return _picture; }
    // Coalesced into one paint per frame by the widget's own update.
    void refresh() { update(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    KNScatterPicture _picture;
};

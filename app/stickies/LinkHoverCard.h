#pragma once

#include "app/stickies/PopoverColors.h"

#include <QWidget>

class QLabel;

namespace Dovrin::Stickies {

class LinkHoverModel;
class PillButton;

// The card over a link under the mouse: the link's target, then "Edit", "Copy" and "Remove".
class LinkHoverCard final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(LinkHoverCard)

public:
    explicit LinkHoverCard(LinkHoverModel& model, QWidget* parent = nullptr);

    LinkHoverModel& model() const { return m_model; }
    void setColors(const PopoverColors& colors);

signals:
    void editPressed();
    void copyPressed();
    void removePressed();

private:
    void refresh();

    LinkHoverModel& m_model;
    QLabel* m_href;
    PillButton* m_edit;
    PillButton* m_copy;
    PillButton* m_remove;
};

} // namespace Dovrin::Stickies

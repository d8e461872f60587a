#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace Dovrin::Shell {

class ClientCard;
class SnippetBlock;

// "Connect your AI": where dovrin-mcp is, and for each common AI client on Linux the exact command or
// configuration that makes it start dovrin-mcp, with one-click setup where the client's file exists.
class ConnectWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ConnectWindow)

public:
    explicit ConnectWindow(QWidget* parent = nullptr);

    // Reads every client's file again, then shows the window in front.
    void showWindow();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refresh();
    void fitToContent();

    QScrollArea* m_scroll = nullptr;
    QWidget* m_content = nullptr;
    SnippetBlock* m_path = nullptr;
    QWidget* m_server = nullptr;
    QWidget* m_missing = nullptr;
    QLabel* m_missingText = nullptr;
    QWidget* m_clients = nullptr;
    QVBoxLayout* m_cards = nullptr;
    QList<ClientCard*> m_cardList;
};

} // namespace Dovrin::Shell

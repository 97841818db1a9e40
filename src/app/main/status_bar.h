#pragma once

#include <QHash>
#include <QStatusBar>
#include <QStringList>

class QLabel;
class QTimer;

namespace kst {

// The main window's status bar with its eight panels, addressed by key: "Status", "Ball",
// "Setting", "AutoResp", "capStatus", "numStatus", "Date", "Time". The last four are kept
// by the bar itself: a timer refreshes the date, the time and the lock-key indicators
// from the program's clock.
// The pictures of the "Ball" panel, by the state of the port they show.
enum class PortBall { Closed = 1, Ready = 2, Busy = 3 };

class PanelStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit PanelStatusBar(QWidget* parent = nullptr);

    static const QStringList& panelKeys();

    QString panelText(const QString& key) const;
    void setPanelText(const QString& key, const QString& text);
    // Picture n of the status image list (1 port closed, 2 ready, 3 busy); 0 for none.
    int panelPicture(const QString& key) const;
    void setPanelPicture(const QString& key, int picture);
    // The "Ball" panel: the port's state as picture and text.
    void showPortState(PortBall picture, const QString& text);

    // Refreshes the panels the bar keeps itself.
    void refreshAutomaticPanels();
    QTimer* clockTimer() const { return clock_; }

private:
    struct Panel {
        QWidget* frame = nullptr;
        QLabel* picture = nullptr;
        QLabel* text = nullptr;
        int pictureIndex = 0;
    };

    void addPanel(const QString& key, int nominalWidth, int stretch, bool withPicture,
                  bool keepText);

    QHash<QString, Panel> panels_;
    QTimer* clock_;
};

} // namespace kst

#pragma once

#include <QList>
#include <QWidget>

// The window that announces the event day: a red headline, a footnote and a
// button that shows the farewell message.
class LMF2D : public QWidget
{
    Q_OBJECT

public:
    explicit LMF2D(QWidget *parent = nullptr);

    // Opens a new instance, modeless and without an owner. It lives until
    // the user closes it and is then destroyed.
    static void showNew();

    // The controls in their creation order.
    const QList<QObject *> &controls() const { return m_controls; }

private:
    void command1Click();

    QList<QObject *> m_controls;
};

#pragma once

#include "runtime/form.h"

namespace forms {

// The window that announces the event day: a red headline, a footnote and a
// button that shows the farewell message.
class LMF2D : public runtime::Form
{
    Q_OBJECT

public:
    explicit LMF2D(QWidget *parent = nullptr);

    // Opens a new instance, modeless and without an owner. It lives until
    // the user closes it and is then destroyed.
    static void showNew();

private:
    void command1Click();
};

} // namespace forms

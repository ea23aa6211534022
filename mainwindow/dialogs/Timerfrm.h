// "Timer": the time limit of a Test session (hours, minutes, seconds), whether the clock counts the time
// used or the time left, and the limit in force. Created once and kept, so the values entered stay.
#pragma once

#include "mainwindow/dialogs/FormDialog.h"

#include <cstdint>
#include <memory>

class CItemsArray2;

namespace Ui
{
class Tm_TimerFrm;
}

class Tm_TimerFrm : public TFormDialog
{
    Q_OBJECT

public:
    // Modal results; Esc and the close box answer Cancel.
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;

    explicit Tm_TimerFrm(CItemsArray2& items, QWidget* parent = nullptr);
    ~Tm_TimerFrm() override;

    // Keeps a copy of the clock (put back on any close but OK) and shows its state.
    void FormShow() override;
    // Puts the kept clock back unless the result is OK.
    void FormClose(int result);
    // "Initial Time Set:" is the limit or "Off"; "Time Left:" shows only while a limit is on.
    void UpdateTimeLabels();
    // The limit the spin boxes give, in seconds.
    std::uint32_t GetSeconds() const;
    // OK: a limit that is not 0 restarts the clock from now with the whole limit; 0:00:00 switches it off.
    void m_OkBtnClick();
    // "Clear": the spin boxes go to 0 and the limit is off at once.
    void btn_ReZeroClick();

    void done(int result) override;

private:
    std::unique_ptr<Ui::Tm_TimerFrm> ui;
    CItemsArray2& m_Items;
};

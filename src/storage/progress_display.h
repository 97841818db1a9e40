#pragma once

namespace kst {

// The progress bar that profile creation drives (the main window's ProgressBar1).
// Creation sets the maximum to 100, shows the bar, sets 1, 50, 90 and 100 as it goes
// and hides it at the end or on a failure.
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    virtual void setMaximum(int maximum) = 0;
    virtual void setValue(float value) = 0;
    virtual void setVisible(bool visible) = 0;
};

// For callers that show no progress.
class NoProgress : public ProgressDisplay {
public:
    void setMaximum(int) override {}
    void setValue(float) override {}
    void setVisible(bool) override {}
};

} // namespace kst

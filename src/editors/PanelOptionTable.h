#pragma once
// The plain panel options, one row each: the control of the options frame
// that edits it (its member, object name and kind), the control's own
// caption and items, a spin control's range, and how the option is read
// from and written to the configuration. The frame builds, names, wires and
// fills its option controls from this table and the rules read and write
// the options through it; nothing else lists them.
#include "Panelsetupoptionslogic.h"

#include <array>
#include <cstddef>

class QCheckBox;
class QComboBox;
class RadioGroup;
class TfrmPanelSetupOptions;
class TPX10ConfigGeneralPanelSetup;
class TSpinControl;

struct TPanelOption {
    using TFrame = TfrmPanelSetupOptions;
    using TSetup = TPX10ConfigGeneralPanelSetup;

    PanelOption Option = PanelOption::Count;
    const char* Name = nullptr; // the control's object name
    // The control: exactly one of the four kinds is set. A radio group or a
    // combo box stores its item index, a spin control its value, a check
    // box its check mark.
    RadioGroup* TFrame::*Radio = nullptr;
    TSpinControl* TFrame::*Spin = nullptr;
    QCheckBox* TFrame::*Check = nullptr;
    QComboBox* TFrame::*Combo = nullptr;
    // English: a radio group's title or a check box's text; the captions of
    // spin controls and combo boxes are the labels the page sets beside them.
    const char* Caption = nullptr;
    // English, in code order; none for a list the rules fill.
    std::array<const char*, 4> Items {};
    int Min = 0, Max = 0; // a spin control's range
    bool Hidden = false; // never shown
    // A flag reads as 0 or 1 and stores value != 0.
    int (*Read)(const TSetup&) = nullptr;
    void (*Write)(TSetup&, int) = nullptr;
};

// In option order: entry n is option n.
extern const std::array<TPanelOption, std::size_t(PanelOption::Count)> PanelOptions;

inline const TPanelOption& PanelOptionRow(PanelOption Option)
{
    return PanelOptions.at(std::size_t(Option));
}

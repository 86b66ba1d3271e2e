#include "PreferencesView.h"

#include <QGroupBox>
#include <QLabel>

#include "CheckBox.h"
#include "ComboBox.h"
#include "OstrelModel.h"
#include "SpinBox.h"

namespace {

// Styled panel, plain.
constexpr int MacFrameStyle = QFrame::StyledPanel | QFrame::Plain;

enum class Kind { Label, Combo, Check, Spin };

struct Control {
    int group;  // 0: "UI", 1: "Message", 2: "System Exclusive"
    Kind kind;
    QRect rect;
    unsigned int parameter;
};

const Control Controls[] = {
    {0, Kind::Label, {10, 24, 110, 30}, ParamKnobMode},
    {0, Kind::Combo, {120, 25, 110, 30}, ParamKnobMode},
    {0, Kind::Label, {10, 54, 110, 30}, ParamProgramNumberBase},
    {0, Kind::Combo, {120, 55, 110, 30}, ParamProgramNumberBase},
    {1, Kind::Check, {10, 26, 100, 20}, ParamTimeStamp},
    {1, Kind::Combo, {120, 23, 110, 30}, ParamMessageTimeFormat},
    {1, Kind::Check, {124, 56, 100, 20}, ParamMessageDetail},
    {1, Kind::Check, {10, 56, 100, 20}, ParamMessageColor},
    {1, Kind::Check, {10, 86, 100, 20}, ParamMessageParsed},
    {1, Kind::Label, {10, 111, 100, 30}, ParamMessageFontSize},
    {1, Kind::Combo, {120, 111, 110, 30}, ParamMessageFontSize},
    {1, Kind::Label, {10, 141, 100, 30}, ParamMessageMiddleC},
    {1, Kind::Combo, {120, 141, 110, 30}, ParamMessageMiddleC},
    {2, Kind::Label, {10, 24, 110, 30}, ParamReplyTimeout},
    {2, Kind::Spin, {120, 25, 110, 30}, ParamReplyTimeout},
    {2, Kind::Label, {10, 54, 110, 30}, ParamChecksumStart},
    {2, Kind::Spin, {120, 55, 110, 30}, ParamChecksumStart},
};

}  // namespace

PreferencesView::PreferencesView(QWidget* parent, OstrelModel* model)
    : QFrame(parent), CommonViewHelper(model)
{
    setAutoFillBackground(true);
    setFrameStyle(MacFrameStyle);
    setFixedSize(FixedSize);
    QGroupBox* groups[3] = {new QGroupBox(tr("UI"), this), new QGroupBox(tr("Message"), this),
                            new QGroupBox(tr("System Exclusive"), this)};
    groups[0]->setGeometry(5, 5, 234, 90);
    groups[1]->setGeometry(5, 100, 234, 175);
    groups[2]->setGeometry(5, 280, 234, 90);
    for (const Control& control : Controls) {
        const QString name = model->getModelParameterName(control.parameter, nullptr);
        QWidget* widget = nullptr;
        switch (control.kind) {
        case Kind::Label:
            widget = new QLabel(name, groups[control.group]);
            break;
        case Kind::Combo: {
            auto* combo = new ComboBox(groups[control.group]);
            combo->setParameterId(control.parameter);
            widget = combo;
            break;
        }
        case Kind::Check: {
            auto* check = new CheckBox(name, groups[control.group]);
            check->setParameterId(control.parameter);
            widget = check;
            break;
        }
        case Kind::Spin: {
            auto* spin = new SpinBox(groups[control.group]);
            spin->setParameterId(control.parameter);
            widget = spin;
            break;
        }
        }
        widget->setGeometry(control.rect);
    }
    connectModel(this);
}

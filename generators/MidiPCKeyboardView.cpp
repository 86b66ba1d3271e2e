#include "MidiPCKeyboardView.h"

#include <QFormLayout>

#include "CheckBox.h"
#include "OstrelModel.h"
#include "SpinBox.h"

MidiPCKeyboardView::MidiPCKeyboardView(QWidget* parent, OstrelModel* model)
    : QFrame(parent),
      CommonViewHelper(model),
      WindowRestorationInfo(PCKeyboardId),
      m_ostrelModel(model),
      m_enable(new CheckBox(model->getModelParameterName(ParamPCKeyboardEnable, nullptr))),
      m_octave(new SpinBox),
      m_channel(new SpinBox),
      m_velocity(new SpinBox)
{
    setAutoFillBackground(true);
    setFocusPolicy(Qt::ClickFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    auto* form = new QFormLayout(this);
    m_enable->setParameterId(ParamPCKeyboardEnable);
    form->addRow(m_enable);
    const std::pair<unsigned int, SpinBox*> boxes[] = {
        {ParamPCKeyboardOctave, m_octave}, {ParamPCKeyboardChannel, m_channel}, {ParamPCKeyboardVelocity, m_velocity}};
    for (const auto& [id, box] : boxes) {
        box->setParameterId(id);
        box->setAlignment(Qt::AlignRight);
        form->addRow(model->getModelParameterName(id, nullptr), box);
    }
    connectModel(this);
    m_ostrelModel->setParameterEditFlag(ParameterEditFlagEdited);
}

void MidiPCKeyboardView::closeEvent(QCloseEvent* event)
{
    m_ostrelModel->setParameterEditFlag(ParameterEditFlagEdited);
    QFrame::closeEvent(event);
}

bool MidiPCKeyboardView::getDataStream(QDataStream&)
{
    return true;
}

bool MidiPCKeyboardView::setDataStream(QDataStream&)
{
    return true;
}

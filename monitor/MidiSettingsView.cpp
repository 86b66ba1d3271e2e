#include "MidiSettingsView.h"

#include <algorithm>

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

#include "CheckBox.h"
#include "ComboBox.h"
#include "DisabledVeil.h"
#include "MidiPortSelection.h"
#include "OstrelModel.h"
#include "SpinBox.h"

namespace {
constexpr int PortGroupHeight = 95;
}  // namespace

MidiSettingsView::MidiSettingsView(OstrelModel* model, MidiPortSelection* ports, QWidget* parent)
    : QFrame(parent), CommonViewHelper(model), WindowRestorationInfo(MidiSettingsId),
      m_ostrelModel(model), m_ports(ports)
{
    auto* scroll = new QScrollArea(this);
    scroll->setContentsMargins(0, 0, 0, 0);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    m_content = content;
    auto* group = new QGroupBox(tr("MIDI Port"), content);
    auto* grid = new QGridLayout(group);
    const char* headings[] = {"Monitor", "Input Port", "Thru", "Output Port"};
    for (int column = 0; column < 4; column++) {
        grid->addWidget(new QLabel(tr(headings[column]), group), 0, column);
    }
    const unsigned int monitors[] = {ParamMonitorPort1, ParamMonitorPort2};
    const unsigned int thrus[] = {ParamMidiThru, ParamMidiThruSecond};
    const unsigned int inputs[] = {ParamInputPortIndex, ParamInputPortIndexSecond};
    const unsigned int outputs[] = {ParamOutputPortIndex, ParamOutputPortIndexSecond};
    for (int line = 0; line < 2; line++) {
        auto* monitor = new CheckBox(m_ostrelModel->getModelParameterName(monitors[line], nullptr), group);
        monitor->setParameterId(monitors[line]);
        m_inputs[line] = new ComboBox(group);
        m_inputs[line]->setParameterId(inputs[line]);
        auto* thru = new CheckBox(group);
        thru->setParameterId(thrus[line]);
        m_outputs[line] = new ComboBox(group);
        m_outputs[line]->setParameterId(outputs[line]);
        grid->addWidget(monitor, line + 1, 0);
        grid->addWidget(m_inputs[line], line + 1, 1);
        grid->addWidget(thru, line + 1, 2);
        grid->addWidget(m_outputs[line], line + 1, 3);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    // The port group as tall as its rows need (fonts and scales differ); what
    // follows moves down with it.
    const int groupHeight = std::max(PortGroupHeight, group->sizeHint().height());
    const int below = groupHeight - PortGroupHeight;
    group->setGeometry(10, 5, 460, groupHeight);
    m_update = new QPushButton(tr("Update Port List"), content);
    m_update->setGeometry(274, 108 + below, 150, 30);
    m_bulkLabel = new QLabel(m_ostrelModel->getModelParameterName(ParamBulkInterval, nullptr), content);
    m_bulkLabel->setGeometry(19, 165 + below, std::max(113, m_bulkLabel->sizeHint().width()), 30);
    m_bulkInterval = new SpinBox(content);
    m_bulkInterval->setGeometry(m_bulkLabel->geometry().right() + 8, 168 + below, 100, 23);
    content->setMinimumSize(480, 205 + below);
    m_bulkInterval->setAlignment(Qt::AlignRight);
    m_bulkInterval->setParameterId(ParamBulkInterval);
    scroll->setWidget(content);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroll);

    connectModel(this);
    portListUpdated();
    connect(m_inputs[0], QOverload<int>::of(&QComboBox::activated), this, &MidiSettingsView::firstInputPortListChanged);
    connect(m_inputs[1], QOverload<int>::of(&QComboBox::activated), this, &MidiSettingsView::secondInputPortListChanged);
    connect(m_outputs[0], QOverload<int>::of(&QComboBox::activated), this, &MidiSettingsView::firstOutputPortListChanged);
    connect(m_outputs[1], QOverload<int>::of(&QComboBox::activated), this, &MidiSettingsView::secondOutputPortListChanged);
    connect(m_update, &QPushButton::pressed, this, &MidiSettingsView::updatePortListPressed);
    m_ostrelModel->setParameterEditFlag(ParameterEditFlagEdited);
    m_ostrelModel->registerModelAssistant(this);
    updateParameter(ParamMessageParsed);
}

MidiSettingsView::~MidiSettingsView()
{
    m_ostrelModel->unregisterModelAssistant(this);
}

unsigned int MidiSettingsView::convertComboBoxIndexToPortIndex(int item)
{
    return item <= 0 ? static_cast<unsigned int>(InvalidPortIndex) : static_cast<unsigned int>(item - 1);
}

void MidiSettingsView::createInputPortList(InputPortGroup group, ComboBox* list)
{
    QStringList names;
    unsigned int current = 0;
    m_ports->getInputPortList(group, names, current);
    if (current == 0) {
        m_ports->closeInputPort(group);  // its endpoint may have gone
    }
    fill(list, names, current);
}

void MidiSettingsView::createOutputPortList(OutputPortGroup group, ComboBox* list)
{
    QStringList names;
    unsigned int current = 0;
    m_ports->getOutputPortList(group, names, current);
    if (current == 0) {
        m_ports->closeOutputPort(group);
    }
    fill(list, names, current);
}

void MidiSettingsView::fill(ComboBox* list, const QStringList& names, unsigned int current)
{
    const bool wasBlocked = list->blockSignals(true);
    list->clear();
    list->addItems(names);
    list->setCurrentIndex(static_cast<int>(current));
    list->blockSignals(wasBlocked);
}

void MidiSettingsView::inputChosen(InputPortGroup group, qint32 item)
{
    if (!m_ports->inputPortMenuSelected(group, convertComboBoxIndexToPortIndex(item))) {
        m_inputs[group]->setCurrentIndex(0);
    }
    m_inputs[group]->setCurrentValue(m_inputs[group]->currentIndex());
    m_ostrelModel->setParameterEditFlag(ParameterEditFlagEdited);
}

void MidiSettingsView::outputChosen(OutputPortGroup group, qint32 item)
{
    if (!m_ports->outputPortMenuSelected(group, convertComboBoxIndexToPortIndex(item))) {
        m_outputs[group]->setCurrentIndex(0);
    }
    m_outputs[group]->setCurrentValue(m_outputs[group]->currentIndex());
    m_ostrelModel->setParameterEditFlag(ParameterEditFlagEdited);
}

void MidiSettingsView::firstInputPortListChanged(qint32 item)
{
    inputChosen(InputPortGroup_First, item);
}

void MidiSettingsView::secondInputPortListChanged(qint32 item)
{
    inputChosen(InputPortGroup_Second, item);
}

void MidiSettingsView::firstOutputPortListChanged(qint32 item)
{
    outputChosen(OutputPortGroup_First, item);
}

void MidiSettingsView::secondOutputPortListChanged(qint32 item)
{
    outputChosen(OutputPortGroup_Second, item);
}

void MidiSettingsView::updatePortListPressed()
{
    portListUpdated();
}

void MidiSettingsView::portListUpdated()
{
    for (int group = 0; group < 2; group++) {
        createInputPortList(static_cast<InputPortGroup>(group), m_inputs[group]);
        createOutputPortList(static_cast<OutputPortGroup>(group), m_outputs[group]);
    }
}

void MidiSettingsView::setBulkIntervalWidgetEnabled(bool enabled)
{
    const QString tip = enabled ? QString() : DisabledVeil::message(tr("Bulk interval"));
    for (QWidget* widget : {static_cast<QWidget*>(m_bulkLabel), static_cast<QWidget*>(m_bulkInterval)}) {
        widget->setEnabled(enabled);
        widget->setToolTip(tip);
    }
}

void MidiSettingsView::updateParameter(unsigned int id)
{
    if (id == ParamMessageParsed) {
        setBulkIntervalWidgetEnabled(m_ostrelModel->getModelIntValue(ParamMessageParsed, nullptr) >= 1);
    }
}

bool MidiSettingsView::setDataStream(QDataStream&)
{
    return true;
}

bool MidiSettingsView::getDataStream(QDataStream&)
{
    return true;
}

void MidiSettingsView::closeEvent(QCloseEvent* event)
{
    m_ostrelModel->setParameterEditFlag(ParameterEditFlagEdited);
    QFrame::closeEvent(event);
}

QSize MidiSettingsView::contentSize() const
{
    return m_content->minimumSize();
}

// The MIDI settings window: both input and both output ports, monitoring
// and MIDI thru per port line, and the bulk interval. Port choices go
// through the port selection the application hands it (the application
// owns the ports and calls portListUpdated when their lists change); the
// check boxes and the spin box are bound to their parameters.
// User-interface thread.
#pragma once

#include <QFrame>

#include "CommonViewHelper.h"
#include "FileStream.h"
#include "MidiCommon.h"
#include "ModelAssistant.h"
#include "WindowRestorationInfo.h"

class ComboBox;
class MidiPortSelection;
class OstrelModel;
class QLabel;
class QPushButton;
class SpinBox;

class MidiSettingsView : public QFrame,
                         public CommonViewHelper,
                         public WindowRestorationInfo,
                         public FileStream,
                         public ModelAssistant {
    Q_OBJECT

public:
    // The size its contents need without scrolling.
    QSize contentSize() const;
    MidiSettingsView(OstrelModel* model, MidiPortSelection* ports, QWidget* parent = nullptr);
    ~MidiSettingsView() override;

    void updateParameter(unsigned int id) override;
    void setBulkIntervalWidgetEnabled(bool enabled);
    bool setDataStream(QDataStream& stream) override;
    bool getDataStream(QDataStream& stream) override;

    // Combo box item i stands for port index i - 1; item 0 for none.
    static unsigned int convertComboBoxIndexToPortIndex(int item);

    ComboBox* inputPortList(InputPortGroup group) const { return m_inputs[group]; }
    ComboBox* outputPortList(OutputPortGroup group) const { return m_outputs[group]; }
    SpinBox* bulkIntervalSpinBox() const { return m_bulkInterval; }
    QPushButton* updateButton() const { return m_update; }

public Q_SLOTS:
    void firstInputPortListChanged(qint32 item);
    void secondInputPortListChanged(qint32 item);
    void firstOutputPortListChanged(qint32 item);
    void secondOutputPortListChanged(qint32 item);
    void updatePortListPressed();
    void portListUpdated();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createInputPortList(InputPortGroup group, ComboBox* list);
    void createOutputPortList(OutputPortGroup group, ComboBox* list);
    // Replaces the items without a user's choice being reported.
    static void fill(ComboBox* list, const QStringList& names, unsigned int current);
    void inputChosen(InputPortGroup group, qint32 item);
    void outputChosen(OutputPortGroup group, qint32 item);

    OstrelModel* m_ostrelModel;
    MidiPortSelection* m_ports;
    ComboBox* m_inputs[2] = {};
    ComboBox* m_outputs[2] = {};
    QLabel* m_bulkLabel = nullptr;
    SpinBox* m_bulkInterval = nullptr;
    QPushButton* m_update = nullptr;
    QWidget* m_content = nullptr;
};

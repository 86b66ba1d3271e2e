#include "MidiFilterView.h"

#include <algorithm>

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "CheckBox.h"
#include "DisabledVeil.h"
#include "MidiNameTables.h"
#include "OstrelModel.h"
#include "PushButton.h"

namespace {

const char* const FilterChannelText = "Channel";
const char* const FilterAllText = "All";
const char* const FilterNoneText = "Clear";
const char* const FilterMessageText = "Message";
const char* const FilterRightArrow = ">";
const char* const FilterControlChangeGroupBoxName = "Control Change";
const char* const FilterSystemCommonGroupBoxName = "System Common";
const char* const FilterSystemRealtimeGroupBoxName = "System Realtime";
constexpr int RowHeight = 24;
constexpr int MessageColumnWidth = 120;

QStringList names(const char* const* table, int count)
{
    QStringList list;
    for (int i = 0; i < count; i++) {
        list.append(QString::fromLatin1(table[i]));
    }
    return list;
}

template <typename Widget>
void setAll(const QList<Widget*>& widgets, int value)
{
    for (Widget* widget : widgets) {
        widget->setCurrentValue(value);
    }
}

PushButton* textButton(const QString& text, QWidget* parent, const QRect& geometry)
{
    auto* button = new PushButton(parent);
    button->setText(text);
    button->setGeometry(geometry);
    return button;
}

}  // namespace

MidiFilterView::MidiFilterView(OstrelModel* model, QWidget* parent)
    : QFrame(parent), CommonViewHelper(model), WindowRestorationInfo(FilterId), m_ostrelModel(model)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(createChannelGroup());
    layout->addWidget(createMessageGroup());
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(createDetailPage(tr(FilterControlChangeGroupBoxName),
                                        names(ControlChangeNameList, ControlChangeNameCount),
                                        ParamControlChangeFilterFirst, true));
    m_pages->addWidget(createDetailPage(tr(FilterSystemCommonGroupBoxName),
                                        names(SystemCommonFilterNames, SystemCommonFilterNameCount),
                                        ParamSystemCommonFilterFirst, false));
    m_pages->addWidget(createDetailPage(tr(FilterSystemRealtimeGroupBoxName),
                                        names(SystemRealtimeFilterNames, SystemRealtimeFilterNameCount),
                                        ParamSystemRealtimeFilterFirst, false));
    m_pages->setCurrentIndex(0);
    layout->addWidget(m_pages);

    // The documented size, or what the names need where the font is wider.
    setFixedSize(FixedSize.expandedTo(layout->minimumSize()));
    connectModel(this);
    m_ostrelModel->setParameterEditFlag(ParameterEditFlagEdited);
    m_ostrelModel->registerModelAssistant(this);
    m_veil = new DisabledVeil(QStringLiteral("Filter"), this);
    m_veil->setGeometry(rect());
    m_veil->hide();
    updateParameter(ParamMessageParsed);
}

MidiFilterView::~MidiFilterView()
{
    m_ostrelModel->unregisterModelAssistant(this);
}

QWidget* MidiFilterView::createChannelGroup()
{
    auto* group = new QGroupBox(tr(FilterChannelText), this);
    group->setMinimumSize(120, 245);
    for (unsigned int channel = 0; channel < ParamChannelFilterCount; channel++) {
        const int column = channel < 8 ? 10 : 60;
        const int row = static_cast<int>(channel % 8);
        PushButton* button = textButton(QString::number(channel + 1), group,
                                        QRect(column, 20 + row * RowHeight, 50, 25));
        button->setCheckable(true);
        button->setParameterId(ParamChannelFilterFirst + channel);
        m_channelButtons.append(button);
    }
    connect(textButton(tr(FilterAllText), group, QRect(8, 214, 55, 25)), &QPushButton::released, this,
            &MidiFilterView::releasedAllButton);
    connect(textButton(tr(FilterNoneText), group, QRect(58, 214, 55, 25)), &QPushButton::released, this,
            &MidiFilterView::releasedNoneButton);
    return group;
}

QWidget* MidiFilterView::createMessageGroup()
{
    auto* group = new QGroupBox(tr(FilterMessageText), this);
    // As wide as the longest name needs (fonts and scales differ), the
    // arrows beside the column.
    int column = MessageColumnWidth;
    for (int i = 0; i < MessageFilterNameCount; i++) {
        auto* box = new CheckBox(tr(MessageFilterNames[i]), group);
        column = std::max(column, box->sizeHint().width());
        box->setParameterId(ParamMessageFilterFirst + static_cast<unsigned int>(i));
        m_messageBoxes.append(box);
    }
    for (int i = 0; i < MessageFilterNameCount; i++) {
        m_messageBoxes.at(i)->setGeometry(10, 20 + i * 22, column, 22);
    }
    const int arrowLeft = 10 + column;
    group->setMinimumSize(arrowLeft + 40 + 10, 245);
    const struct {
        int row;
        void (MidiFilterView::*slot)();
    } arrows[] = {{3, &MidiFilterView::releasedControlChangeButton},
                  {8, &MidiFilterView::releasedSystemCommonButton},
                  {9, &MidiFilterView::releasedSystemRealtimeButton}};
    for (const auto& arrow : arrows) {
        PushButton* button = textButton(QString::fromLatin1(FilterRightArrow), group,
                                        QRect(arrowLeft, 18 + arrow.row * 22, 40, 25));
        button->setAttribute(Qt::WA_MacShowFocusRect, false);
        connect(button, &QPushButton::released, this, arrow.slot);
    }
    return group;
}

QWidget* MidiFilterView::createDetailPage(const QString& title, const QStringList& labels,
                                          unsigned int first, bool scrolled)
{
    auto* page = new QWidget;
    page->setMinimumSize(300, scrolled ? 230 : 220);
    auto* group = new QGroupBox(title, page);
    group->setMinimumSize(290, 245);
    auto* groupLayout = new QVBoxLayout(group);
    auto* boxes = new QWidget;
    auto* boxesLayout = new QVBoxLayout(boxes);
    boxesLayout->setSpacing(0);
    QList<CheckBox*> checkBoxes;
    for (int i = 0; i < labels.size(); i++) {
        auto* box = new CheckBox(labels.at(i), boxes);
        box->setParameterId(first + static_cast<unsigned int>(i));
        boxesLayout->addWidget(box);
        checkBoxes.append(box);
    }
    boxesLayout->addStretch();
    if (scrolled) {
        auto* scroll = new QScrollArea(group);
        scroll->setWidget(boxes);
        scroll->setWidgetResizable(true);
        groupLayout->addWidget(scroll);
    } else {
        groupLayout->addWidget(boxes);
    }
    auto* buttons = new QHBoxLayout;
    auto* all = new PushButton(group);
    all->setText(tr(FilterAllText));
    auto* none = new PushButton(group);
    none->setText(tr(FilterNoneText));
    buttons->addWidget(all);
    buttons->addWidget(none);
    groupLayout->addLayout(buttons);
    connect(all, &QPushButton::released, page, [checkBoxes] { setAll(checkBoxes, 1); });
    connect(none, &QPushButton::released, page, [checkBoxes] { setAll(checkBoxes, 0); });
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(group);
    return page;
}

void MidiFilterView::releasedAllButton()
{
    setAll(m_channelButtons, 1);
}

void MidiFilterView::releasedNoneButton()
{
    setAll(m_channelButtons, 0);
}

void MidiFilterView::releasedControlChangeButton()
{
    m_pages->setCurrentIndex(0);
}

void MidiFilterView::releasedSystemCommonButton()
{
    m_pages->setCurrentIndex(1);
}

void MidiFilterView::releasedSystemRealtimeButton()
{
    m_pages->setCurrentIndex(2);
}

void MidiFilterView::updateParameter(unsigned int id)
{
    if (id == ParamMessageParsed) {
        setFilterViewEnabled(m_ostrelModel->getModelIntValue(ParamMessageParsed, nullptr) >= 1);
    }
}

void MidiFilterView::setFilterViewEnabled(bool enabled)
{
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child != m_veil) {
            child->setEnabled(enabled);
        }
    }
    if (m_veil) {
        m_veil->setVisible(!enabled);
        if (!enabled) {
            m_veil->raise();
        }
    }
}

bool MidiFilterView::setDataStream(QDataStream&)
{
    return true;
}

bool MidiFilterView::getDataStream(QDataStream&)
{
    return true;
}

void MidiFilterView::closeEvent(QCloseEvent* event)
{
    m_ostrelModel->setParameterEditFlag(ParameterEditFlagEdited);
    QFrame::closeEvent(event);
}

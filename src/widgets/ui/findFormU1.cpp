#include "findFormU1.h"

#include "FindGridModel.h"
#include "StatusPanels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
bool isEnter(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    // Enter on a button with the focus presses it; Enter elsewhere presses none of them.
    b->setAutoDefault(true);
    return b;
}
} // namespace

TFindForm::TFindForm(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FindForm"));
    setWindowTitle(QStringLiteral("検索"));
    setModal(false);
    resize(592, 298);
    setMinimumSize(540, 240);

    Label1 = new QLabel(QStringLiteral("検索文字列"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    cbFindString = new QComboBox(this);
    cbFindString->setObjectName(QStringLiteral("cbFindString"));
    cbFindString->setEditable(true);
    cbFindString->setInsertPolicy(QComboBox::NoInsert);
    cbFindString->setAttribute(Qt::WA_InputMethodEnabled);
    cbFindString->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Label1->setBuddy(cbFindString);
    ckbCheckUpperOrLower = new QCheckBox(QStringLiteral("大文字小文字を区別する"), this);
    ckbCheckUpperOrLower->setObjectName(QStringLiteral("ckbCheckUpperOrLower"));
    btnFind = button("btnFind", QStringLiteral("検索"), this);
    btnFindPrev = button("btnFindPrev", QStringLiteral("前を検索"), this);
    btnFindNext = button("btnFindNext", QStringLiteral("次を検索"), this);
    btnClose = button("btnClose", QStringLiteral("閉じる"), this);
    btnHelp = button("btnHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"), this);

    m_model = new TFindGridModel(this);
    StringGrid1 = new QTableView(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setModel(m_model);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setWordWrap(false);
    StringGrid1->verticalHeader()->hide();
    // Fixed rows let the view place a hundred thousand of them without measuring each.
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(qMax(16, fontMetrics().height() + 2));
    QHeaderView *columns = StringGrid1->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(true);
    columns->resizeSection(TFindGridModel::CountColumn, 44);
    columns->resizeSection(TFindGridModel::TitleColumn, 144);
    columns->resizeSection(TFindGridModel::PositionColumn, 45);
    StatusBar1 = new TStatusPanels({0}, this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(Label1);
    searchRow->addWidget(cbFindString, 1);
    auto *optionRow = new QHBoxLayout;
    optionRow->addWidget(ckbCheckUpperOrLower);
    optionRow->addStretch(1);
    auto *left = new QVBoxLayout;
    left->addLayout(searchRow);
    left->addLayout(optionRow);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {btnFind, btnFindPrev, btnFindNext, btnClose, btnHelp})
        buttons->addWidget(b);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addLayout(top);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(StatusBar1);

    connect(btnFind, &QPushButton::clicked, this, &TFindForm::searchRequested);
    connect(btnFindPrev, &QPushButton::clicked, this, &TFindForm::previousRequested);
    connect(btnFindNext, &QPushButton::clicked, this, &TFindForm::nextRequested);
    connect(btnHelp, &QPushButton::clicked, this, &TFindForm::helpRequested);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::hide);
    connect(StringGrid1, &QTableView::doubleClicked, this, &TFindForm::jumpRequested);
    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!m_settingRow && current.isValid())
                    Q_EMIT currentRowChanged(current.row() + 1);
            });
    cbFindString->installEventFilter(this);
    StringGrid1->installEventFilter(this);
}

QString TFindForm::searchText() const
{
    return cbFindString->currentText();
}

bool TFindForm::caseSensitive() const
{
    return ckbCheckUpperOrLower->isChecked();
}

void TFindForm::setHistory(const QStringList &entries, const QString &text)
{
    const QSignalBlocker blocker(cbFindString);
    cbFindString->clear();
    cbFindString->addItems(entries);
    cbFindString->setCurrentIndex(-1);
    cbFindString->setEditText(text);
}

void TFindForm::setStatus(const QString &text)
{
    StatusBar1->setPanelText(0, text);
}

QString TFindForm::status() const
{
    return StatusBar1->panelText(0);
}

int TFindForm::currentRow() const
{
    const QModelIndex current = StringGrid1->currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

void TFindForm::setCurrentRow(int row)
{
    const QModelIndex index = m_model->index(row - 1, 0);
    if (!index.isValid())
        return;
    m_settingRow = true;
    StringGrid1->setCurrentIndex(index);
    StringGrid1->scrollTo(index);
    m_settingRow = false;
}

void TFindForm::focusSearchBox()
{
    cbFindString->setFocus();
    cbFindString->lineEdit()->selectAll();
}

void TFindForm::focusGrid()
{
    StringGrid1->setFocus();
}

bool TFindForm::eventFilter(QObject *watched, QEvent *event)
{
    // The box hands its key and focus events to its line edit directly, past any filter there.
    if (watched == cbFindString) {
        if (isEnter(event)) {
            // Enter takes the user to the search button; a second Enter searches.
            btnFind->setFocus();
            return true;
        }
        if (event->type() == QEvent::FocusOut)
            Q_EMIT searchBoxLeft(cbFindString->currentText());
    } else if (watched == StringGrid1 && isEnter(event)) {
        Q_EMIT jumpRequested();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFindForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Q_EMIT shown();
}

void TFindForm::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    Q_EMIT hidden();
}

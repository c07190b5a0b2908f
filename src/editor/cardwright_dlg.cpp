#include "editor/cardwright_dlg.h"

#include "app/log.h"
#include "app/reasons.h"
#include "app/rescue.h"
#include "app/workspace.h"
#include "editor/field_panels.h"
#include "editor/key_filter.h"
#include "editor/labels.h"
#include "editor/preview_panel.h"
#include "editor/prompter.h"
#include "editor/qt_reporter.h"
#include "editor/tip_message.h"
#include "model/archive.h"
#include "movie/gift_builder.h"
#include "movie/gift_scripts.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace editor {

namespace {

const char* const kHotKeys =
    "F1:  Help Center\nF2:  Add new card\nF3:  Add new link\nF5:  Preview Flash e-gift";
const char* const kSwfFileError = "SWF file error. please check FLASH.";

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// Comments keep CR LF line ends in the project; the text field shows plain new lines.
QString CommentForField(const std::string& comment) {
    return FromStd(comment).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

std::string CommentFromField(const QString& text) {
    QString crlf = text;
    return crlf.replace(QLatin1Char('\n'), QLatin1String("\r\n")).toStdString();
}

QColor ColourOf(const std::string& reference) {
    // "#RRGGBB" read as one hexadecimal number after the "#".
    bool ok = false;
    const uint value = FromStd(reference).mid(1).toUInt(&ok, 16);
    return ok ? QColor::fromRgb((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF) : QColor(Qt::black);
}

std::string ColourText(const QColor& colour) {
    return QString::asprintf("#%.2X%.2X%.2X", colour.red(), colour.green(), colour.blue()).toStdString();
}

// Typing stops at `limit` characters, but a longer title from a file is shown and kept whole.
void SetTextKeepingCursor(QLineEdit* edit, const QString& text, int limit) {
    edit->setMaxLength(std::max<int>(limit, static_cast<int>(text.size())));
    if (edit->text() != text) {
        edit->setText(text);
    }
}

} // namespace

CCardwrightDlg::CCardwrightDlg(const app::Workspace& workspace, app::Log& log, Prompter& prompter,
                               QWidget* parent)
    : QMainWindow(parent), m_workspace(workspace), m_log(log), m_prompter(prompter) {
    m_reporter = std::make_unique<QtReporter>(&m_log, m_prompter, this,
                                              [this](const QString& text) { ShowTipMessage(text); });
    m_reporter->SetSaveHandler([this] { OnSave(); });
    m_builder =
        std::make_unique<movie::GiftBuilder>(m_doc.projectForReading(), m_state, m_workspace, *m_reporter);
    m_builder->LoadGiftFonts(0);
    buildUi();
    buildMenus();
    connectFields();
    m_rescueTimer.setInterval(kRescueIntervalMs);
    connect(&m_rescueTimer, &QTimer::timeout, this, &CCardwrightDlg::rescueSave);
    connect(&m_doc, &Document::restructured, this, &CCardwrightDlg::onRestructured);
    connect(&m_doc, &Document::cardChanged, this, &CCardwrightDlg::onCardChanged);
    connect(&m_doc, &Document::linkChanged, this, &CCardwrightDlg::onLinkChanged);
    connect(&m_doc, &Document::settingsChanged, this, &CCardwrightDlg::onSettingsChanged);
    connect(&m_doc, &Document::modifiedChanged, this, &CCardwrightDlg::updateTitle);
    updateTitle();
}

CCardwrightDlg::~CCardwrightDlg() {
    qApp->removeEventFilter(findChild<KeyFilter*>());
}

void CCardwrightDlg::buildUi() {
    auto* central = new QWidget(this);
    setCentralWidget(central);

    // Left: the card and link buttons above the browse tree.
    auto* left = new QWidget(central);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    auto* treeButtons = new QGridLayout;
    const auto button = [](const QString& text, QWidget* parent) {
        auto* b = new QPushButton(text, parent);
        b->setAccessibleName(QString(text).remove(QLatin1Char('&')));
        return b;
    };
    QPushButton* addCard = button(tr("Add Card"), left);
    QPushButton* removeCard = button(tr("Rmv Card"), left);
    QPushButton* addLink = button(tr("Add Link"), left);
    QPushButton* removeLink = button(tr("Rmv Link"), left);
    treeButtons->addWidget(addCard, 0, 0);
    treeButtons->addWidget(removeCard, 0, 1);
    treeButtons->addWidget(addLink, 1, 0);
    treeButtons->addWidget(removeLink, 1, 1);
    leftLayout->addLayout(treeButtons);
    m_tree = new QTreeView(left);
    m_tree->setModel(&m_doc.treeModel());
    m_tree->setHeaderHidden(true);
    m_tree->setAccessibleName(tr("Cards and links"));
    m_tree->setUniformRowHeights(true);
    leftLayout->addWidget(m_tree, 1);
    connect(addCard, &QPushButton::clicked, this, [this] { AddCard(model::kPosAfter); });
    connect(removeCard, &QPushButton::clicked, this, &CCardwrightDlg::OnBtnRemovecard);
    connect(addLink, &QPushButton::clicked, this, [this] { AddLink(model::kPosAfter); });
    connect(removeLink, &QPushButton::clicked, this, &CCardwrightDlg::OnBtnRemovelink);

    // Right: the preview above the fields of the current card or link.
    m_preview = new PreviewPanel(*m_builder, m_workspace, *m_reporter, m_log);
    m_preview->setTipHandler([this](const QString& text) { ShowTipMessage(text); });
    m_preview->setMinimumSize(320, 240);
    m_card = new CardFields;
    m_link = new LinkFields;
    m_fields = new QStackedWidget;
    m_fields->addWidget(m_card);
    m_fields->addWidget(m_link);
    auto* right = new QSplitter(Qt::Vertical);
    right->addWidget(m_preview);
    right->addWidget(m_fields);
    right->setStretchFactor(0, 3);
    right->setStretchFactor(1, 1);
    right->setChildrenCollapsible(false);
    // The preview gets most of the height; the fields keep what they need.
    right->setSizes({3000, 1000});

    auto* split = new QSplitter(Qt::Horizontal, central);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 3);
    split->setChildrenCollapsible(false);
    split->setSizes({1000, 3000});

    // Bottom: the project commands.
    auto* commands = new QHBoxLayout;
    QPushButton* newButton = button(tr("New"), central);
    QPushButton* openButton = button(tr("Open"), central);
    QPushButton* saveButton = button(tr("Save"), central);
    QPushButton* settingsButton = button(tr("Project Settings"), central);
    QPushButton* previewButton = button(tr("Preview"), central);
    QPushButton* finishButton = button(tr("Finish"), central);
    for (QPushButton* b : {newButton, openButton, saveButton, settingsButton}) {
        commands->addWidget(b);
    }
    commands->addStretch();
    commands->addWidget(previewButton);
    commands->addWidget(finishButton);
    connect(newButton, &QPushButton::clicked, this, &CCardwrightDlg::OnNew);
    connect(openButton, &QPushButton::clicked, this, &CCardwrightDlg::OnOpen);
    connect(saveButton, &QPushButton::clicked, this, &CCardwrightDlg::OnSave);
    connect(settingsButton, &QPushButton::clicked, this, &CCardwrightDlg::OnProjectSettings);
    connect(previewButton, &QPushButton::clicked, this, &CCardwrightDlg::OnPreview);
    connect(finishButton, &QPushButton::clicked, this, &CCardwrightDlg::OnFinish);

    auto* layout = new QVBoxLayout(central);
    layout->addWidget(split, 1);
    layout->addLayout(commands);

    m_tips = new TipMessage(this, m_preview);
    statusBar();

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CCardwrightDlg::onCurrentChanged);
    // A click on an item puts the focus in its title; moving with the keys leaves it in the tree.
    connect(m_tree, &QTreeView::clicked, this, [this] {
        if (m_sel.IsLink()) {
            m_link->title->setFocus();
        } else if (m_sel.IsCard()) {
            m_card->title->setFocus();
        }
    });
    connect(&m_doc.treeModel(), &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        m_expanded.clear();
        for (int row = 0; row < m_doc.treeModel().rowCount(); ++row) {
            if (m_tree->isExpanded(m_doc.treeModel().index(row, 0))) {
                m_expanded.append(row);
            }
        }
    });
    connect(&m_doc.treeModel(), &QAbstractItemModel::modelReset, this, [this] {
        for (int row : std::as_const(m_expanded)) {
            m_tree->expand(m_doc.treeModel().index(row, 0));
        }
    });

    auto* keys = new KeyFilter(
        this, m_card->comment,
        {[this] { openInPlayer(FromStd((m_workspace.DataRoot() / "CWPHelp.swf").string()), true); },
         [this] { AddCard(model::kPosAfter); }, [this] { AddLink(model::kPosAfter); },
         [this] { OnPreview(); }, [this] { undo(); }, [this] { redo(); }},
        this);
    qApp->installEventFilter(keys);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && now->window() == this) {
            m_lastFocus = now;
        }
    });
    resize(960, 640);
}

void CCardwrightDlg::buildMenus() {
    const auto add = [this](QMenu* menu, const QString& text, auto slot, const QKeySequence& keys = {}) {
        QAction* action = menu->addAction(text);
        connect(action, &QAction::triggered, this, slot);
        if (!keys.isEmpty()) {
            // The keys themselves are handled before any control (see KeyFilter); the menu shows them.
            action->setShortcut(keys);
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        return action;
    };
    QMenu* file = menuBar()->addMenu(tr("&File"));
    add(file, tr("&New"), &CCardwrightDlg::OnNew);
    add(file, tr("&Open..."), &CCardwrightDlg::OnOpen);
    add(file, tr("&Save..."), &CCardwrightDlg::OnSave);
    QMenu* samples = file->addMenu(tr("&View Samples"));
    const QString samplesDir = FromStd((m_workspace.DataRoot() / "Samples").string());
    add(samples, tr("e-&Workout"),
        [this, samplesDir] { openInPlayer(samplesDir + QLatin1String("/workout.swf"), false); });
    add(samples, tr("e-&LoveLetter"),
        [this, samplesDir] { openInPlayer(samplesDir + QLatin1String("/loveletter.swf"), false); });
    const struct {
        const char* text;
        const char* path;
    } online[] = {{"e-&Password (Online)", "/flash/password.swf"},
                  {"e-&Fun (Online)", "/flash/fun.swf"},
                  {"e-&Animate (Online)", "/flash/animate.swf"},
                  {"e-&MensaTest (Online)", "/flash/MensaTest.swf"},
                  {"e-&KidTrainning (Online)", "/flash/kidsitesample.swf"}};
    for (const auto& sample : online) {
        const QString address = QString::fromLatin1(movie::kMakerHost.data(), movie::kMakerHost.size()) +
                                QLatin1String(sample.path);
        add(samples, tr(sample.text), [this, address] { openInPlayer(address, false); });
    }
    file->addSeparator();
    add(file, tr("E&xit"), &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undoAction = add(edit, tr("&Undo"), &CCardwrightDlg::undo, QKeySequence::Undo);
    QAction* redoAction = add(edit, tr("&Redo"), &CCardwrightDlg::redo, QKeySequence(tr("Ctrl+Shift+Z")));
    // Away from text fields, Ctrl+Z and Ctrl+Shift+Z work on the project from any control.
    undoAction->setShortcutContext(Qt::WindowShortcut);
    redoAction->setShortcutContext(Qt::WindowShortcut);
    edit->addSeparator();
    add(
        edit, tr("Cu&t"), [this] { editAction("cut"); }, QKeySequence::Cut);
    add(
        edit, tr("&Copy"), [this] { editAction("copy"); }, QKeySequence::Copy);
    add(
        edit, tr("&Paste"), [this] { editAction("paste"); }, QKeySequence::Paste);

    QMenu* cards = menuBar()->addMenu(tr("&Cards"));
    QMenu* addCards = cards->addMenu(tr("&Add cards"));
    add(addCards, tr("At &top"), [this] { AddCard(model::kPosTop); });
    add(addCards, tr("&Before current card"), [this] { AddCard(model::kPosBefore); });
    add(
        addCards, tr("&After current card"), [this] { AddCard(model::kPosAfter); }, QKeySequence(Qt::Key_F2));
    add(addCards, tr("At &bottom"), [this] { AddCard(model::kPosBottom); });
    QMenu* addLinks = cards->addMenu(tr("Add &new link"));
    add(addLinks, tr("At &top"), [this] { AddLink(model::kPosTop); });
    add(addLinks, tr("&Before current link"), [this] { AddLink(model::kPosBefore); });
    add(
        addLinks, tr("&After current link"), [this] { AddLink(model::kPosAfter); }, QKeySequence(Qt::Key_F3));
    add(addLinks, tr("At &bottom"), [this] { AddLink(model::kPosBottom); });
    add(cards, tr("&Del current card"), &CCardwrightDlg::OnBtnRemovecard);
    add(cards, tr("Del current &link"), &CCardwrightDlg::OnBtnRemovelink);
    cards->addSeparator();
    add(cards, tr("Move card &up"), [this] { moveCard(-1); });
    add(cards, tr("Move card do&wn"), [this] { moveCard(1); });

    QMenu* project = menuBar()->addMenu(tr("&Project"));
    add(project, tr("Project &Settings"), &CCardwrightDlg::OnProjectSettings);
    add(project, tr("&Expand All Cards"), [this] { m_tree->expandAll(); });
    add(project, tr("&Collapse All Cards"), [this] { m_tree->collapseAll(); });

    QMenu* steps = menuBar()->addMenu(tr("&StepByStep"));
    add(steps, tr("1 &New"), &CCardwrightDlg::OnNew);
    add(steps, tr("1 &Open"), &CCardwrightDlg::OnOpen);
    add(steps, tr("2 &Preview"), &CCardwrightDlg::OnPreview, QKeySequence(Qt::Key_F5));
    add(steps, tr("3 &Finish"), &CCardwrightDlg::OnFinish);
    add(steps, tr("4 &Save"), &CCardwrightDlg::OnSave);

    QMenu* exportMenu = menuBar()->addMenu(tr("E&xport"));
    add(exportMenu, tr("Generate &SWF"), [this] {
        hooks::Context ctx = context();
        hooks::GenerateSwf(ctx);
    });
    add(exportMenu, tr("Generate &EXE"), [this] {
        hooks::Context ctx = context();
        hooks::GenerateExe(ctx);
    });

    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    add(tools, tr("Create &Photo Album"), [this] {
        hooks::Context ctx = context();
        hooks::CreatePhotoAlbum(ctx);
    });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    add(
        help, tr("&Help Document"),
        [this] { openInPlayer(FromStd((m_workspace.DataRoot() / "CWPHelp.swf").string()), true); },
        QKeySequence(Qt::Key_F1));
    add(help, tr("Hot &Keys"), [this] { ShowTipMessage(QString::fromLatin1(kHotKeys)); });
    add(help, tr("&Tip of today"), [this] {
        hooks::Context ctx = context();
        hooks::TipOfToday(ctx);
    });
    help->addSeparator();
    add(help, tr("&About Cardwright..."), [this] { hooks::About(this); });
}

void CCardwrightDlg::connectFields() {
    connect(m_card->title, &QLineEdit::textEdited, this, [this](const QString& text) {
        editCard(Field::Title, [&text](CardValues& v) { v.title = text.toStdString(); });
    });
    connect(m_card->comment, &QPlainTextEdit::textChanged, this, [this] {
        if (m_filling) {
            return;
        }
        const std::string text = CommentFromField(m_card->comment->toPlainText());
        try {
            editCard(Field::Comment, [&text](CardValues& v) { v.comment = text; });
        } catch (const std::exception&) {
            m_reporter->report(app::reasons::kChangeComment);
        }
    });
    connect(m_card->titleColor, &QPushButton::clicked, this, [this] { chooseColour(true); });
    connect(m_card->commentColor, &QPushButton::clicked, this, [this] { chooseColour(false); });
    connect(m_card->addPics, &QPushButton::clicked, this, &CCardwrightDlg::OnAddPics);
    connect(m_card->mailAlert, &QCheckBox::clicked, this, [this](bool on) {
        editCard(Field::MailAlert, [on](CardValues& v) { v.mailAlert = on ? 1 : 0; });
    });

    connect(m_link->title, &QLineEdit::textEdited, this, [this](const QString& text) {
        editLink(Field::LinkTitle, [&text](model::CLinkInfo& l) { l.m_strTitle = text.toStdString(); });
    });
    connect(m_link->gotoCard, &QComboBox::activated, this, [this](int index) {
        editLink(Field::Goto, [index](model::CLinkInfo& l) { l.m_nGoto = index; });
    });
    connect(m_link->thenGoto, &QComboBox::activated, this, [this](int index) {
        editLink(Field::ThenGoto, [index](model::CLinkInfo& l) { l.m_nThenGoto = index; });
    });
    connect(m_link->compare, &QComboBox::activated, this, [this](int index) {
        const std::string op = m_link->compare->itemText(index).toStdString();
        editLink(Field::Compare, [&op](model::CLinkInfo& l) { l.m_strCompare = op; });
    });
    connect(m_link->score, &QSpinBox::valueChanged, this, [this](int value) {
        try {
            editLink(Field::Score, [value](model::CLinkInfo& l) { l.m_nScore = value; });
        } catch (const std::exception&) {
            m_reporter->report(app::reasons::kChangeLinkScore);
        }
    });
    connect(m_link->compareValue, &QSpinBox::valueChanged, this, [this](int value) {
        editLink(Field::CompareValue, [value](model::CLinkInfo& l) { l.m_nCompareValue = value; });
    });
    // Leaving a text field shows what typing did not show yet (a Flash background).
    for (QWidget* field : {static_cast<QWidget*>(m_card->title), static_cast<QWidget*>(m_card->comment),
                           static_cast<QWidget*>(m_link->title)}) {
        field->installEventFilter(this);
    }
}

bool CCardwrightDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && m_previewStale && watched != nullptr) {
        refreshPreview(false);
    }
    return QMainWindow::eventFilter(watched, event);
}

hooks::Context CCardwrightDlg::context() {
    return {this, m_doc, m_state, m_workspace, *m_builder, *m_reporter, [this](const QString& text) {
                ShowTipMessage(text);
            }};
}

void CCardwrightDlg::initialise(const QString& rescuePath) {
    m_workspace.EnsureTempDir();
    m_rescueTimer.start();
    bool opened = false;
    if (!rescuePath.isEmpty()) {
        try {
            m_doc.replace(model::LoadProjectFile(rescuePath.toStdString()), true);
            m_builder->LoadGiftFonts(1);
            opened = true;
        } catch (const model::ArchiveError& e) {
            m_log.Write(std::string("Rescued project not read: ") + e.what() + "\n");
            m_prompter.inform(this, QString::fromLatin1(model::kOldVersionMessage), QMessageBox::Warning);
            m_doc.replace(model::Project{}, false);
            opened = true;
        }
    }
    if (!opened) {
        m_doc.replace(model::MakeDefaultProject(), false);
    }
    m_initialised = true;
    updateTitle();
}

bool CCardwrightDlg::openProjectFile(const QString& path) {
    model::Project project;
    try {
        project = model::LoadProjectFile(path.toStdString());
    } catch (const model::ArchiveError& e) {
        m_log.Write(std::string("Project not opened: ") + e.what() + "\n");
        m_prompter.inform(this, QString::fromLatin1(model::kOldVersionMessage), QMessageBox::Warning);
        return false;
    }
    m_state.m_strProjectPath = QFileInfo(path).absoluteFilePath().toStdString();
    m_doc.replace(std::move(project), false);
    m_builder->LoadGiftFonts(1);
    refreshPreview(true);
    updateTitle();
    return true;
}

void CCardwrightDlg::updateTitle() {
    const QString name = m_state.m_strProjectPath.empty()
                             ? tr("Untitled")
                             : QFileInfo(FromStd(m_state.m_strProjectPath)).fileName();
    setWindowTitle(tr("%1[*] - Cardwright").arg(name));
    setWindowModified(m_doc.isModified());
}

// --- Selection and fields -------------------------------------------------------------------------

void CCardwrightDlg::select(const model::Selection& sel) {
    const QModelIndex index = m_doc.treeModel().indexOf(sel);
    if (sel.IsLink()) {
        m_tree->expand(index.parent());
    }
    if (index.isValid() && index == m_tree->currentIndex()) {
        onCurrentChanged(); // same item: fill its fields again
    } else {
        m_tree->setCurrentIndex(index);
    }
    if (!index.isValid()) {
        onCurrentChanged();
    }
}

bool CCardwrightDlg::showsCardFields() const {
    return m_fields->currentWidget() == m_card;
}

void CCardwrightDlg::onCurrentChanged() {
    const model::Selection sel = m_doc.treeModel().selectionAt(m_tree->currentIndex());
    m_sel = sel;
    if (sel.IsLink()) {
        showLinkFields(sel.card, sel.link);
        if (m_previewCard != sel.card) {
            refreshPreview(false);
        }
        return;
    }
    showCardFields(sel.card);
    refreshPreview(true);
}

void CCardwrightDlg::showCardFields(int card) {
    m_filling = true;
    m_fields->setCurrentWidget(m_card);
    const bool valid = card >= 0 && card < m_doc.project().CardCount();
    m_card->setEnabled(valid);
    if (valid) {
        const model::CCardInfo& info = *m_doc.project().cards[card];
        SetTextKeepingCursor(m_card->title, FromStd(info.m_strTitle), kCardTitleMax);
        const QString comment = CommentForField(info.m_strComment);
        if (m_card->comment->toPlainText() != comment) {
            m_card->comment->setPlainText(comment);
        }
        m_card->mailAlert->setChecked(info.m_bMailAlert != 0);
        SetButtonColour(m_card->titleColor, ColourOf(info.m_strTitleColor));
        SetButtonColour(m_card->commentColor, ColourOf(info.m_strCommentColor));
    } else {
        m_card->title->clear();
        m_card->comment->clear();
        m_card->mailAlert->setChecked(false);
    }
    m_filling = false;
}

void CCardwrightDlg::showLinkFields(int card, int link) {
    m_filling = true;
    m_fields->setCurrentWidget(m_link);
    const model::CLinkInfo& info = *m_doc.project().cards[card]->m_pLinks->m_pLinkList[link];
    SetTextKeepingCursor(m_link->title, FromStd(info.m_strTitle), kLinkTitleMax);
    m_link->score->setValue(info.m_nScore);
    m_link->compareValue->setValue(info.m_nCompareValue);
    const int cards = m_doc.project().CardCount();
    m_link->gotoCard->setCurrentIndex(info.m_nGoto >= 0 && info.m_nGoto < cards ? info.m_nGoto : -1);
    m_link->thenGoto->setCurrentIndex(info.m_nThenGoto >= 0 && info.m_nThenGoto < cards ? info.m_nThenGoto
                                                                                        : -1);
    const int op = m_link->compare->findText(FromStd(info.m_strCompare));
    m_link->compare->setCurrentIndex(op < 0 ? 0 : op);
    m_filling = false;
}

void CCardwrightDlg::fillGotoLists() {
    m_filling = true;
    for (QComboBox* box : {m_link->gotoCard, m_link->thenGoto}) {
        box->clear();
        for (const auto& card : m_doc.project().cards) {
            box->addItem(FromStd(card->m_strTitle));
        }
    }
    m_filling = false;
}

void CCardwrightDlg::onRestructured(const model::Selection& select) {
    fillGotoLists();
    m_previewCard = -1;
    this->select(select);
}

void CCardwrightDlg::onCardChanged(int card, bool select) {
    const QString title = FromStd(m_doc.project().cards[card]->m_strTitle);
    m_link->gotoCard->setItemText(card, title);
    m_link->thenGoto->setItemText(card, title);
    if (select && !(m_sel == model::Selection{card, -1})) {
        this->select({card, -1});
        return;
    }
    if (m_sel.card == card) {
        if (m_sel.IsCard()) {
            showCardFields(card);
        }
        const bool waitForFocusLoss =
            m_typing && UsesFlashBackground(m_doc.project(), *m_doc.project().cards[card]);
        if (waitForFocusLoss) {
            m_previewStale = true;
        } else {
            refreshPreview(false);
        }
    }
}

void CCardwrightDlg::onLinkChanged(int card, int link, bool select) {
    if (select && !(m_sel == model::Selection{card, link})) {
        this->select({card, link});
        return;
    }
    if (m_sel == model::Selection{card, link}) {
        showLinkFields(card, link);
    }
    if (m_sel.card == card) {
        if (m_typing && UsesFlashBackground(m_doc.project(), *m_doc.project().cards[card])) {
            m_previewStale = true;
        } else {
            refreshPreview(false);
        }
    }
}

void CCardwrightDlg::onSettingsChanged() {
    m_builder->LoadGiftFonts(1);
    refreshPreview(true);
}

void CCardwrightDlg::refreshPreview(bool forceConvert) {
    m_previewStale = false;
    m_previewCard = m_sel.card;
    m_preview->refresh(m_doc.project(), m_sel.card, forceConvert);
}

void CCardwrightDlg::editCard(Field field, const std::function<void(CardValues&)>& change) {
    if (m_filling || m_sel.IsNothing()) {
        return;
    }
    CardValues values = CardValues::Of(*m_doc.project().cards[m_sel.card]);
    change(values);
    m_typing = field == Field::Title || field == Field::Comment;
    m_doc.setCard(m_sel.card, field, values);
    m_typing = false;
}

void CCardwrightDlg::editLink(Field field, const std::function<void(model::CLinkInfo&)>& change) {
    if (m_filling || !m_sel.IsLink()) {
        return;
    }
    model::CLinkInfo values = *m_doc.project().cards[m_sel.card]->m_pLinks->m_pLinkList[m_sel.link];
    change(values);
    m_typing = field == Field::LinkTitle;
    m_doc.setLink(m_sel.card, m_sel.link, field, values);
    m_typing = false;
}

void CCardwrightDlg::chooseColour(bool title) {
    if (!m_sel.IsCard()) {
        return;
    }
    const model::CCardInfo& card = *m_doc.project().cards[m_sel.card];
    const auto colour =
        hooks::ChooseColour(this, ColourOf(title ? card.m_strTitleColor : card.m_strCommentColor),
                            title ? tr("Title color") : tr("Comment color"));
    if (!colour) {
        return;
    }
    const std::string text = ColourText(*colour);
    editCard(title ? Field::TitleColor : Field::CommentColor,
             [title, &text](CardValues& v) { (title ? v.titleColor : v.commentColor) = text; });
}

// --- Commands -------------------------------------------------------------------------------------

void CCardwrightDlg::ShowTipMessage(const QString& text) {
    m_tips->show(text);
}

void CCardwrightDlg::AddCard(int code) {
    const model::EditResult result = m_doc.addCard(code, m_sel);
    if (!result.hint.empty()) {
        ShowTipMessage(FromStd(result.hint));
    } else if (result.changed) {
        m_card->title->setFocus();
    }
}

void CCardwrightDlg::OnBtnRemovecard() {
    if (m_prompter.ask(this, tr("Do you really want to delete this card?"), false, QMessageBox::Question) !=
        Answer::Yes) {
        return;
    }
    const model::EditResult result = m_doc.removeCard(m_sel);
    if (!result.hint.empty()) {
        ShowTipMessage(FromStd(result.hint));
    }
}

void CCardwrightDlg::AddLink(int code) {
    if (m_sel.IsNothing()) {
        return;
    }
    const model::EditResult result = m_doc.addLink(code, m_sel);
    if (!result.hint.empty()) {
        ShowTipMessage(FromStd(result.hint));
    } else if (result.changed) {
        m_link->title->setFocus();
    }
}

void CCardwrightDlg::OnBtnRemovelink() {
    try {
        const model::EditResult result = m_doc.removeLink(m_sel);
        if (!result.hint.empty()) {
            ShowTipMessage(FromStd(result.hint));
        }
    } catch (const std::exception&) {
        m_reporter->report(app::reasons::kRemoveLink);
    }
}

void CCardwrightDlg::moveCard(int delta) {
    if (!m_sel.IsCard()) {
        ShowTipMessage(tr("Please select a card to move."));
        return;
    }
    m_doc.moveCard(m_sel, delta);
}

bool CCardwrightDlg::askToSaveChanges(const QString& question) {
    if (!m_doc.isModified() || m_doc.project().cards.empty()) {
        return true;
    }
    switch (m_prompter.ask(this, question, true, QMessageBox::Question)) {
    case Answer::Yes:
        return OnSave();
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void CCardwrightDlg::OnNew() {
    if (!askToSaveChanges(tr("Do you want to save this gift?"))) {
        return;
    }
    app::EmptyFolder(m_workspace.TempDir());
    m_state.ApplyAfterNew();
    model::Project project;
    project.settings = m_doc.project().settings;
    project.New();
    m_doc.replace(std::move(project), false);
    m_builder->LoadGiftFonts(1);
    updateTitle();
    OnProjectSettings();
}

void CCardwrightDlg::OnOpen() {
    hooks::Context ctx = context();
    const hooks::OpenChoice choice = hooks::ChooseProject(ctx);
    if (choice.kind == hooks::OpenChoice::Kind::New) {
        OnNew();
    } else if (choice.kind == hooks::OpenChoice::Kind::Open &&
               askToSaveChanges(tr("Do you want to save this project?"))) {
        openProjectFile(choice.path);
    }
}

bool CCardwrightDlg::OnSave() {
    if (!m_initialised) {
        return false;
    }
    if (m_doc.project().cards.empty()) {
        ShowTipMessage(tr("The project has no cards, so there is nothing to save."));
        return false;
    }
    // A project is never saved into Temp: it is emptied when the program ends.
    QString suggested = FromStd(m_state.m_strProjectPath);
    const QString temp = FromStd(m_workspace.TempDir().string());
    if (suggested.isEmpty() || suggested.startsWith(temp)) {
        suggested = QDir::home().filePath(QStringLiteral("gift.cwp"));
    }
    QString path = m_prompter.saveFileName(this, suggested);
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1String(".cwp");
    }
    try {
        model::SaveProjectFile(m_doc.project(), path.toStdString());
    } catch (const model::SaveError& e) {
        m_log.Write(std::string("Save failed: ") + e.what() + "\n");
        m_reporter->report(app::reasons::kSaveProject);
        return !m_doc.isModified();
    }
    m_state.m_strProjectPath = QFileInfo(path).absoluteFilePath().toStdString();
    m_doc.markSaved();
    updateTitle();
    return true;
}

void CCardwrightDlg::OnPreview() {
    if (!m_initialised) {
        return;
    }
    rescueSave();
    const auto path = m_workspace.PreviewPath();
    try {
        m_builder->GenerateSWF(path, nullptr, 1, 0);
    } catch (const std::exception& e) {
        m_log.Write(std::string("Preview movie not written: ") + e.what() + "\n");
        ShowTipMessage(QString::fromLatin1(kSwfFileError));
        return;
    }
    hooks::Context ctx = context();
    hooks::ShowPreview(ctx, FromStd(path.string()));
}

void CCardwrightDlg::OnFinish() {
    rescueSave();
    hooks::Context ctx = context();
    hooks::Finish(ctx);
}

void CCardwrightDlg::OnProjectSettings() {
    rescueSave();
    hooks::Context ctx = context();
    if (const auto settings = hooks::ProjectSettings(ctx)) {
        m_doc.setSettings(*settings);
    }
}

void CCardwrightDlg::OnAddPics() {
    if (!m_sel.IsCard()) {
        return;
    }
    hooks::Context ctx = context();
    const auto choice = hooks::AddPics(ctx, *m_doc.project().cards[m_sel.card]);
    if (choice) {
        editCard(Field::Background, [&choice](CardValues& v) {
            v.background = choice->reference;
            v.bgAlign = choice->align;
            v.projectBg = 0;
        });
    }
    refreshPreview(true);
}

void CCardwrightDlg::openInPlayer(const QString& target, bool maximized) {
    hooks::Context ctx = context();
    hooks::OpenInPlayer(ctx, target, maximized);
}

void CCardwrightDlg::editAction(const char* slot) {
    if (m_lastFocus) {
        QMetaObject::invokeMethod(m_lastFocus, slot);
    }
}

void CCardwrightDlg::undo() {
    QWidget* focus = m_lastFocus;
    if (auto* line = qobject_cast<QLineEdit*>(focus); line != nullptr && line->isUndoAvailable()) {
        line->undo();
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(focus);
               text != nullptr && text->document()->isUndoAvailable()) {
        text->undo();
    } else {
        m_doc.undoStack().undo();
    }
}

void CCardwrightDlg::redo() {
    QWidget* focus = m_lastFocus;
    if (auto* line = qobject_cast<QLineEdit*>(focus); line != nullptr && line->isRedoAvailable()) {
        line->redo();
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(focus);
               text != nullptr && text->document()->isRedoAvailable()) {
        text->redo();
    } else {
        m_doc.undoStack().redo();
    }
}

// --- Rescue and closing ---------------------------------------------------------------------------

bool CCardwrightDlg::rescueSave() {
    if (!m_initialised || m_doc.project().cards.empty()) {
        return false;
    }
    try {
        return app::RescueSave(m_doc.project(), m_workspace);
    } catch (const model::SaveError& e) {
        m_log.Write(std::string("Rescue save failed: ") + e.what() + "\n");
        return false;
    }
}

void CCardwrightDlg::setRescueInterval(int ms) {
    m_rescueTimer.setInterval(ms);
}

int CCardwrightDlg::rescueInterval() const {
    return m_rescueTimer.interval();
}

void CCardwrightDlg::closeEvent(QCloseEvent* event) {
    try {
        if (!askToSaveChanges(tr("Do you want to save this project?"))) {
            event->ignore();
            return;
        }
        m_rescueTimer.stop();
        m_prompter.feedback(this);
    } catch (const std::exception&) {
        m_reporter->report(app::reasons::kClose);
    }
    event->accept();
}

} // namespace editor

// The editor window: its layout, the fields and the selection, and the views kept in step with the
// document. Menus and commands are in cardwright_menus.cpp and cardwright_commands.cpp.
#include "editor/cardwright_dlg.h"
#include "editor/gift_check_views.h"

#include "app/log.h"
#include "app/reasons.h"
#include "app/rescue.h"
#include "app/workspace.h"
#include "dialogs/colour_picker.h"
#include "dialogs/colour_picker_table.h"
#include "dialogs/dlg_project_settings.h"
#include "dialogs/dlg_tips.h"
#include "editor/field_panels.h"
#include "editor/key_filter.h"
#include "editor/labels.h"
#include "editor/preview_panel.h"
#include "editor/prompter.h"
#include "editor/qt_reporter.h"
#include "editor/tip_message.h"
#include "model/archive.h"
#include "movie/gift_builder.h"
#include "tooltip/qt/editor_tips.h"
#include "tooltip/tip_texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWindow>

namespace editor {

namespace {

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

// Typing stops at `limit` characters, but a longer title from a file is shown and kept whole.
void SetTextKeepingCursor(QLineEdit* edit, const QString& text, int limit) {
    // Setting the limit sets the text again, which would drop the field's own undo history.
    const int maxLength = std::max<int>(limit, static_cast<int>(text.size()));
    if (edit->maxLength() != maxLength) {
        edit->setMaxLength(maxLength);
    }
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
    m_builder = std::make_unique<movie::GiftBuilder>(m_doc.project(), m_state, m_workspace, *m_reporter);
    m_builder->LoadGiftFonts(0);
    // The picture quality is a preference of the program, kept across projects.
    m_state.m_nPictureQuality = dialogs::StoredPictureQuality();
    buildUi();
    m_checks = new GiftCheckViews(*this, m_workspace);
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
    QPushButton* removeCard = button(tr("Remove Card"), left);
    QPushButton* addLink = button(tr("Add Link"), left);
    QPushButton* removeLink = button(tr("Remove Link"), left);
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
    m_preview = new PreviewPanel(m_workspace, *m_reporter, m_log);
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
    right->setSizes({2000, 1000});

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

    m_richTips = new tooltip::EditorTips(this);
    m_tips = new TipMessage(this, m_preview, m_richTips);
    statusBar();
    addControlTips({{1097, newButton},
                    {1034, openButton},
                    {1100, previewButton},
                    {1101, finishButton},
                    {1102, saveButton},
                    {1008, m_card->addPics},
                    {1098, settingsButton},
                    {1006, m_card->title},
                    {1007, m_card->comment},
                    {1014, m_card->titleColor},
                    {1015, m_card->commentColor},
                    {1001, addCard},
                    {1002, removeCard},
                    {1003, addLink},
                    {1004, removeLink},
                    {1072, m_card->mailAlert},
                    {1017, m_link->gotoCard},
                    {1038, m_link->thenGoto},
                    {1018, m_link->score},
                    {1020, m_link->compare},
                    {1022, m_link->compareValue}});
    connect(m_richTips, &tooltip::EditorTips::previewRequested, this, &CCardwrightDlg::OnPreview);
    connect(m_richTips, &tooltip::EditorTips::helpMovieRequested, this, [this] { openHelp(false); });
    connect(m_richTips, &tooltip::EditorTips::openRequested, this, &CCardwrightDlg::OnOpen);

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
    auto* keys = new KeyFilter(this, m_card->comment,
                               {[this] { openHelp(true); }, [this] { AddCard(model::kPosAfter); },
                                [this] { AddLink(model::kPosAfter); }, [this] { OnPreview(); },
                                [this] { undo(); }, [this] { redo(); }},
                               this);
    qApp->installEventFilter(keys);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && now->window() == this) {
            m_lastFocus = now;
        }
    });
    resize(960, 640);
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
    connect(m_card->titleColor, &CColourPicker::colourAccepted, this,
            [this](const QColor& colour) { storeColour(true, colour); });
    connect(m_card->commentColor, &CColourPicker::colourAccepted, this,
            [this](const QColor& colour) { storeColour(false, colour); });
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
        refreshPreview();
    }
    // The window is on screen, where the window manager put it: the tips open centred on it now.
    if (event->type() == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed() &&
        m_startupTips && m_tipsWaiting) {
        m_tipsWaiting = false;
        windowHandle()->removeEventFilter(this);
        QTimer::singleShot(0, m_startupTips.get(), &CDlgTips::ShowModeless);
    }
    return QMainWindow::eventFilter(watched, event);
}

hooks::Context CCardwrightDlg::context() {
    return {this,
            m_doc,
            m_state,
            m_workspace,
            *m_builder,
            *m_reporter,
            &m_log,
            [this](const QString& text) { ShowTipMessage(text); },
            [this] { rescueSave(); },
            m_preview->warmPlayer(),
            {}};
}

void CCardwrightDlg::addControlTips(const std::map<int, QWidget*>& controls) {
    m_richTips->AddControlTips(controls);
    // A control's label shows the control's tip too.
    std::vector<std::pair<QWidget*, QString>> labels;
    for (QLabel* label : findChildren<QLabel*>()) {
        for (const auto& [id, control] : controls) {
            if (label->buddy() == control) {
                const std::string_view text = tooltip::ControlTipText(id);
                labels.emplace_back(label, QString::fromUtf8(text.data(), qsizetype(text.size())));
            }
        }
    }
    m_richTips->AddControlTips(labels);
}

void CCardwrightDlg::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_welcomeTip && !m_welcomeShown) {
        m_welcomeShown = true;
        // After the layout has placed the preview.
        QTimer::singleShot(0, this, [this] {
            if (isVisible()) {
                m_richTips->ShowWelcome(m_preview);
            }
        });
    }
}

void CCardwrightDlg::showStartupTips() {
    m_startupTips = std::make_unique<CDlgTips>(m_workspace.DataRoot(), this); // centred on the editor
    m_startupTips->setAttribute(Qt::WA_QuitOnClose, false); // closing the editor ends the program
    if (!m_startupTips->ShowAtStartup()) {
        return;
    }
    if (windowHandle() == nullptr || windowHandle()->isExposed()) {
        m_startupTips->ShowModeless();
        return;
    }
    // A window manager places a new window after it is shown; the tips wait until it is on screen.
    m_tipsWaiting = true;
    windowHandle()->installEventFilter(this);
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
    refreshPreview();
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
            refreshPreview();
        }
        return;
    }
    showCardFields(sel.card);
    refreshPreview(); // pictures converted before are reused, so a photo card shows at once
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
        m_card->titleColor->setColour(ColourOf(info.m_strTitleColor));
        m_card->commentColor->setColour(ColourOf(info.m_strCommentColor));
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
            refreshPreview();
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
            refreshPreview();
        }
    }
}

void CCardwrightDlg::onSettingsChanged() {
    m_builder->LoadGiftFonts(1);
    refreshPreview();
}

void CCardwrightDlg::refreshPreview() {
    m_previewStale = false;
    m_previewCard = m_sel.card;
    m_preview->refresh(m_doc.project(), m_state, m_sel.card);
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

void CCardwrightDlg::storeColour(bool title, const QColor& colour) {
    if (!m_sel.IsCard()) {
        return;
    }
    const std::string text = colour_picker::FormatColour(colour).toStdString();
    editCard(title ? Field::TitleColor : Field::CommentColor,
             [title, &text](CardValues& v) { (title ? v.titleColor : v.commentColor) = text; });
}

} // namespace editor

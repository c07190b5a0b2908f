// A short question about the program shown when the editor closes. Nothing is sent by itself: the user
// may open a mail draft to the maker, and may ask not to see the dialog again.
#pragma once

#include <QDialog>

class QCheckBox;

namespace editor {

class FeedbackDialog : public QDialog {
    Q_OBJECT
public:
    explicit FeedbackDialog(QWidget* parent = nullptr);

    // False once the user ticked "Don't show this again".
    static bool IsWanted();

private:
    void remember();

    QCheckBox* m_dontShow;
};

} // namespace editor

// The channel data editor: every field of one channel in typed controls; "Save Channel
// data" writes the channel back into its list as one undoable step.
#pragma once

#include <QWidget>
#include <array>

#include "app/editing_controller.h"
#include "app/list_controller.h"
#include "app/session.h"
#include "listedit/channel_data.h"
#include "ui/close_guard.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

namespace qel {

class ChannelDataWindow : public QWidget, public UnsavedEdits {
    Q_OBJECT

public:
    // Edits the channel selected in the shown list.
    ChannelDataWindow(Session& session, const ListController& list, EditingController& editing,
                      QWidget* parent = nullptr);

    // The controls as fields, and showing fields in the controls.
    DataFields fields() const;
    void showFields(const DataFields& f);
    void save();

    // The channel this window edits: its list and row.
    ListId list() const { return list_; }
    int row() const { return row_; }
    // True while the channel at the edited row is still the one the window opened with.
    bool stillEditing() const;
    // "Save Channel data" would change the channel.
    bool hasUnsavedEdits() const override;

    QLineEdit* hexBox(Pair p) const { return hex_[static_cast<std::size_t>(p)]; }
    QLineEdit* decBox(Pair p) const { return dec_[static_cast<std::size_t>(p)]; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window in parts: the controls, what ties them together, the groups they are laid
    // out in (tuning, the id and PID pairs, the flags), the read-only antenna entry.
    void build();
    void createControls();
    void connectControls();
    // A caption that is the same in both languages, for `buddy`.
    QLabel* label(const char* text, QWidget* buddy);
    QLayout* layOutTuning();
    QLayout* layOutPairs();
    QLayout* layOutFlags();
    QWidget* buildAntennaInfo();
    void setTexts();
    void enableForFileType();
    void showAntenna(int index);
    void leaveBox(QLineEdit* box);
    // The fields as save() takes them: the box with the caret counts as left.
    DataFields typedFields() const;

    Session& session_;
    EditingController& editing_;
    ListId list_;
    int row_;
    ChannelRec original_;
    DataFields shown_;  // what the controls showed of the channel
    FileKind fileType_;

    QLineEdit* name_;
    QLineEdit* freq1_;
    QLineEdit* freq2_;
    QComboBox* pol_;
    QLineEdit* srate1_;
    QLineEdit* srate2_;
    QComboBox* fec_;
    QLineEdit* sat_;
    QComboBox* lohi_;
    std::array<QLineEdit*, kPairs> hex_{};
    std::array<QLineEdit*, kPairs> dec_{};
    QLineEdit* acbw_;
    QComboBox* ant_;
    QComboBox* spectr_;
    QComboBox* diseqc_;
    QComboBox* audio_;
    QComboBox* volt_;
    QComboBox* video_;
    QComboBox* servType_;
    QCheckBox* parental_;
    QComboBox* autoPid_;
    QComboBox* autoPmt_;
    std::array<QLineEdit*, 6> antInfo_{};  // satellite, LNB low, LNB high, switch, LOF, DiSEqC
    QPushButton* save_;
};

}  // namespace qel

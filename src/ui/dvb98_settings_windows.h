// The two DVB98 settings windows. Each shows its controls from the working copy of the
// settings image; the general window saves them into the image (storeSettings), the further
// window writes them into the working copy when the user goes back.
#pragma once

#include <QMap>
#include <QWidget>
#include <span>

#include "app/session.h"
#include "app/settings_controller.h"
#include "receiver_settings/dvb98_settings.h"
#include "ui/close_guard.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace qel {

// Controls built from a table of settings fields.
class SettingsPage : public QWidget, public UnsavedEdits {
    Q_OBJECT

public:
    SettingsPage(Session& session, SettingsController& settings,
                 std::span<const SettingField> fields, QWidget* parent);

    // Shows the working copy in the controls, and writes the controls into it.
    void showWorkingCopy();
    void writeWorkingCopy();
    QWidget* control(const char* name) const { return controls_.value(QLatin1String(name)); }
    SettingValue value(const SettingField& f) const;
    void setValue(const SettingField& f, const SettingValue& v);
    // The controls, or the working copy they came back to, differ from the stored settings.
    bool hasUnsavedEdits() const override;

protected:
    // A row of the page: the control of `field` under a label; groups start new columns.
    void addRow(const char* field, int group);
    void setLabel(const char* field, const QString& text);
    virtual void setTexts() = 0;
    void changeEvent(QEvent* event) override;

    Session& session_;
    SettingsController& settings_;
    std::span<const SettingField> fields_;
    QMap<QString, QWidget*> controls_;
    QMap<QString, QLabel*> labels_;
    QList<QGroupBox*> groups_;
};

class Dvb98SettingsWindow : public SettingsPage {
    Q_OBJECT

public:
    Dvb98SettingsWindow(Session& session, SettingsController& settings, QWidget* parent = nullptr);
    // Writes the controls into the working copy and the working copy into the image.
    void storeSettings();

signals:
    void colorsRequested();
    void moreRequested();

protected:
    void setTexts() override;

private:
    QLabel* currentFile_;
    QPushButton* colors_;
    QPushButton* more_;
    QPushButton* save_;
};

class Dvb98MoreSettingsWindow : public SettingsPage {
    Q_OBJECT

public:
    Dvb98MoreSettingsWindow(Session& session, SettingsController& settings,
                            QWidget* parent = nullptr);
    // Writes the controls into the working copy.
    void back();

signals:
    void backRequested();

protected:
    void setTexts() override;

private:
    QPushButton* back_;
};

}  // namespace qel

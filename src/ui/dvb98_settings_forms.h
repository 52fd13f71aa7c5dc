// The two DVB98 settings windows. Each shows its controls from the working copy of the
// settings image; the general window saves them into the image (SaveDVB98), the further
// window writes them into the working copy when the user goes back.
#pragma once

#include <QMap>
#include <QWidget>
#include <span>

#include "app/session.h"
#include "receiver_settings/dvb98_settings.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace qel {

// Controls built from a table of settings fields.
class SettingsPage : public QWidget {
    Q_OBJECT

public:
    SettingsPage(Session& session, std::span<const SettingField> fields, QWidget* parent);

    // Shows the working copy in the controls, and writes the controls into it.
    void ShowFromWorkingCopy();
    void WriteToWorkingCopy();
    QWidget* control(const char* name) const { return controls_.value(QLatin1String(name)); }
    SettingValue Value(const SettingField& f) const;
    void SetValue(const SettingField& f, const SettingValue& v);

protected:
    // A row of the page: the control of `field` under a label; groups start new columns.
    void AddRow(const char* field, int group);
    void SetLabel(const char* field, const QString& text);
    virtual void SetTexts() = 0;
    void changeEvent(QEvent* event) override;

    Session& s_;
    std::span<const SettingField> fields_;
    QMap<QString, QWidget*> controls_;
    QMap<QString, QLabel*> labels_;
    QList<QGroupBox*> groups_;
};

class SettingDVB_1Form : public SettingsPage {
    Q_OBJECT

public:
    SettingDVB_1Form(Session& session, QWidget* parent = nullptr);
    // Writes the controls into the working copy and the working copy into the image.
    void SaveDVB98();

signals:
    void colorsRequested();
    void moreRequested();

protected:
    void SetTexts() override;

private:
    QLabel* currentFile_;
    QPushButton* colors_;
    QPushButton* more_;
    QPushButton* save_;
};

class SettingDVB_2Form : public SettingsPage {
    Q_OBJECT

public:
    SettingDVB_2Form(Session& session, QWidget* parent = nullptr);
    // Writes the controls into the working copy.
    void Back();

signals:
    void backRequested();

protected:
    void SetTexts() override;

private:
    QPushButton* back_;
};

}  // namespace qel

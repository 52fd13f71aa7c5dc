#include "ui/options_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QSignalBlocker>
#include <QTreeView>
#include <QVBoxLayout>

namespace qel {

OptionsForm::OptionsForm(Session& session, ConfigStore& store, Language& language, QWidget* parent)
    : QWidget(parent, Qt::Window), s_(session), store_(store), language_(language) {
    setObjectName("OptionsForm");
    setWindowTitle(QStringLiteral("QEL"));

    frame9_ = new QGroupBox(this);
    dirs_ = new QFileSystemModel(this);
    dirs_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    dirs_->setRootPath(QStringLiteral("/"));
    dirGet_ = new QTreeView(frame9_);
    dirGet_->setObjectName("DirGet");
    dirGet_->setModel(dirs_);
    dirGet_->setHeaderHidden(true);
    for (int c = 1; c < dirs_->columnCount(); ++c)
        dirGet_->hideColumn(c);
    dirGet_->setMinimumSize(300, 220);
    dirch_ = new QLabel(frame9_);
    dirch_->setObjectName("Dirch");
    connect(dirGet_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid()) {
                    dir_ = dirs_->filePath(index);
                    dirch_->setText(ShortPath(dir_));
                }
            });
    connect(dirs_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (dir_.startsWith(loaded)) ShowDirInTree();
    });
    auto* dirLayout = new QVBoxLayout(frame9_);
    dirLayout->addWidget(dirGet_, 1);
    dirLayout->addWidget(dirch_);

    frame8_ = new QGroupBox(this);
    optPort_ = new QComboBox(frame8_);
    optPort_->setObjectName("optPort");
    for (const auto& [text, stored] : PortChoices())
        optPort_->addItem(text, stored);
    lang_ = new QComboBox(frame8_);
    lang_->setObjectName("Lang");
    lang_->addItem(QStringLiteral("English"));
    lang_->addItem(QStringLiteral("Italiano"));
    optLayout_ = new QCheckBox(frame8_);
    optLayout_->setObjectName("optLayout");
    optBox_ = new QCheckBox(frame8_);
    optBox_->setObjectName("OptBox");
    label34_ = new QLabel(frame8_);
    label35_ = new QLabel(frame8_);
    label36_ = new QLabel(frame8_);
    label1_ = new QLabel(frame8_);
    label34_->setBuddy(optPort_);
    label35_->setBuddy(lang_);
    label36_->setBuddy(optLayout_);
    label1_->setBuddy(optBox_);
    auto* misc = new QFormLayout(frame8_);
    misc->addRow(label34_, optPort_);
    misc->addRow(label35_, lang_);
    misc->addRow(label36_, optLayout_);
    misc->addRow(label1_, optBox_);

    saveOpt_ = new QPushButton(this);
    saveOpt_->setObjectName("SaveOpt");
    connect(saveOpt_, &QPushButton::clicked, this, [this] { SaveOpt(); });

    auto* right = new QVBoxLayout;
    right->addWidget(frame8_);
    right->addStretch(1);
    right->addWidget(saveOpt_, 0, Qt::AlignRight);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(frame9_, 1);
    layout->addLayout(right);

    // Load: the current values.
    setWorkingDir(s_.workingDir);
    SetOptFormLanguage();
    optLayout_->setChecked(s_.config.rememberLayout == QLatin1String("T"));
    optBox_->setChecked(s_.config.littleBox.toInt() == 1);
    const int port = optPort_->findData(s_.config.comPortText.trimmed());
    optPort_->setCurrentIndex(port >= 0 ? port : 0);
}

QList<QPair<QString, QString>> OptionsForm::PortChoices() {
    QList<QPair<QString, QString>> ports;
    for (int i = 1; i <= 4; ++i) {
        ports.append(
            {QStringLiteral("COM%1  (/dev/ttyS%2)").arg(i).arg(i - 1), QString::number(i)});
    }
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString device = info.systemLocation();
        if (device.startsWith(QLatin1String("/dev/ttyS")) && device.size() == 10 &&
            device.back() >= '0' && device.back() <= '3') {
            continue;  // one of COM1-COM4
        }
        QString text = device;
        if (!info.description().isEmpty()) text += QStringLiteral("  (") + info.description() + ')';
        ports.append({text, device});
    }
    return ports;
}

QString OptionsForm::ShortPath(const QString& path) {
    if (path.size() < 44) return path;
    return path.left(20) + QStringLiteral("....") + path.right(20);
}

void OptionsForm::setWorkingDir(const QString& path) {
    dir_ = path;
    dirch_->setText(ShortPath(path));
    ShowDirInTree();
}

void OptionsForm::ShowDirInTree() {
    // The folder model loads in the background: the folder is shown once its parents are.
    const QModelIndex index = dirs_->index(dir_);
    if (!index.isValid()) return;
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
        dirGet_->expand(p);
    if (dirGet_->currentIndex() != index) {
        const QSignalBlocker block(dirGet_->selectionModel());
        dirGet_->setCurrentIndex(index);
    }
    dirGet_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

QString OptionsForm::shownDir() const {
    return dirch_->text();
}

void OptionsForm::SetOptFormLanguage() {
    frame8_->setTitle(tr(" Miscellaneous "));
    frame9_->setTitle(tr(" Working Directory "));
    label1_->setText(tr("&Info box on at boot"));
    label36_->setText(tr("&Remember export layout"));
    label35_->setText(tr("&Language"));
    label34_->setText(tr("&Comunication port"));
    saveOpt_->setText(tr("Save"));
    lang_->setCurrentIndex(s_.english() ? 0 : 1);
}

void OptionsForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) SetOptFormLanguage();
    QWidget::changeEvent(event);
}

void OptionsForm::SaveOpt() {
    QString dir = dir_;
    // A drive root ("C:\") is kept as the drive ("C:").
    if (dir.size() == 3 && dir[1] == ':') dir = dir.left(2);
    Config& c = s_.config;
    c.workingDir = dir;
    s_.workingDir = dir;
    c.comPortText = optPort_->currentData().toString();
    bool numeric = false;
    c.comPort = c.comPortText.toInt(&numeric);
    if (!numeric) c.comPort = 0;
    c.rememberLayout = optLayout_->isChecked() ? QStringLiteral("T") : QStringLiteral("F");
    c.littleBox = optBox_->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    const QString code = lang_->currentIndex() == 0 ? QStringLiteral("ENG") : QStringLiteral("ITA");
    s_.setLanguage(code);
    store_.SaveOptions(c);
    // Every open window re-sets its texts on the language change event.
    language_.Apply(code);
}

}  // namespace qel

#include "ui/buffer_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/texts.h"
#include "bytes/conversions.h"
#include "listedit/buffer_ops.h"
#include "listedit/list_view.h"
#include "ui/channel_list_model.h"

namespace qel {

int BufferModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(session_.workspace().bufferList().size());
}

QVariant BufferModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const ChannelRec& ch = session_.workspace().bufferList()[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) return Texts::fromLatin1(trimBlanks(ch.ChName.view()));
    if (role == Qt::DecorationRole) {
        return ch.Freq == "00000000" ? ChannelListModel::headerIcon()
                                     : ChannelListModel::blankIcon();
    }
    return {};
}

BufferWindow::BufferWindow(Session& session, EditingController& editing, Prompter& prompter,
                           QWidget* parent)
    : QWidget(parent, Qt::Window),
      session_(session),
      editing_(editing),
      prompter_(prompter),
      model_(new BufferModel(session, this)) {
    setObjectName("BufferForm");
    createWidgets();
    connectButtons();
    layOut();
    connect(&editing_, &EditingController::bufferChanged, this, [this] {
        model_->refresh();
        // An empty buffer has nothing to show: back to the list.
        if (session_.workspace().bufferList().empty()) close();
    });
    setTexts();
    fillBuffer(1);
}

void BufferWindow::createWidgets() {
    list_ = new QListView(this);
    list_->setObjectName("Bufferlist");
    list_->setModel(model_);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setUniformItemSizes(true);
    list_->setMinimumSize(280, 320);

    const auto button = [this](const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    pasteMove_ = button("Pastespecial");
    pasteCopy_ = button("Pastespecialnotdel");
    byName_ = button("ByName");
    byFreq_ = button("ByFreq");
    motorized_ = button("Motorized");
    clear_ = button("ClearBuf");
    delete_ = button("Delch");
}

void BufferWindow::connectButtons() {
    connect(pasteMove_, &QPushButton::clicked, this, [this] { pasteMarked(true); });
    connect(pasteCopy_, &QPushButton::clicked, this, [this] { pasteMarked(false); });
    connect(byName_, &QPushButton::clicked, this, [this] { sort(0); });
    connect(byFreq_, &QPushButton::clicked, this, [this] { sort(1); });
    connect(motorized_, &QPushButton::clicked, this, [this] { sort(2); });
    connect(clear_, &QPushButton::clicked, this, [this] { clear(); });
    connect(delete_, &QPushButton::clicked, this, [this] { deleteMarked(); });
    // The paste buttons only in paste special mode, also when it starts with the window open.
    const auto showPasteButtons = [this](bool on) {
        pasteMove_->setVisible(on);
        pasteCopy_->setVisible(on);
    };
    showPasteButtons(editing_.pasteSpecialMode());
    connect(&editing_, &EditingController::pasteSpecialModeChanged, this, showPasteButtons);
    // Paste all in paste special mode takes the entries marked here.
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { editing_.setBufferMarks(marks()); });
}

void BufferWindow::layOut() {
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(pasteMove_);
    buttons->addWidget(pasteCopy_);
    buttons->addSpacing(12);
    buttons->addWidget(byName_);
    buttons->addWidget(byFreq_);
    buttons->addWidget(motorized_);
    buttons->addStretch(1);
    buttons->addWidget(delete_);
    buttons->addWidget(clear_);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
}

void BufferWindow::setTexts() {
    setWindowTitle(QStringLiteral("QEL - Buffer"));
    pasteMove_->setText(tr("Move marked channels to list"));
    pasteCopy_->setText(tr("Copy marked channels to list"));
    byName_->setText(tr("Sort by name"));
    byName_->setToolTip(tr("Sort channels by name"));
    byFreq_->setText(tr("Sort by freq."));
    byFreq_->setToolTip(tr("Sort channels by frequency"));
    motorized_->setText(tr("Motorized"));
    motorized_->setToolTip(tr("Sort by name as  Low-Hor / Low-Ver / Hi-Hor / Hi-Ver"));
    clear_->setText(tr("Clear buffer"));
    delete_->setText(tr("Delete"));
}

void BufferWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) setTexts();
    QWidget::changeEvent(event);
}

void BufferWindow::fillBuffer(int row) {
    model_->refresh();
    if (model_->rowCount() == 0) return;
    const QModelIndex index = model_->index(std::clamp(row, 1, model_->rowCount()) - 1);
    list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    list_->scrollTo(index);
    list_->setFocus();
}

Marks BufferWindow::marks() const {
    Marks m;
    for (const QModelIndex& i : list_->selectionModel()->selectedRows()) {
        m.push_back(static_cast<std::size_t>(i.row()));
    }
    std::sort(m.begin(), m.end());
    return m;
}

void BufferWindow::pasteMarked(bool removeFromBuffer) {
    editing_.pasteFromBuffer(marks(), removeFromBuffer);
    close();
}

void BufferWindow::sort(int mode) {
    editing_.sortBuffer(static_cast<BufferOrder>(mode));
    fillBuffer(1);
}

void BufferWindow::deleteMarked() {
    const Marks m = marks();
    if (m.empty()) return;
    const int row = editing_.deleteFromBuffer(m);
    if (!session_.workspace().bufferList().empty()) fillBuffer(row);
}

void BufferWindow::clear() {
    if (prompter_.ask(Prompter::Icon::Question, tr("Are you sure to clear the buffer ?"),
                      Prompter::Buttons::YesNo, Prompter::Answer::No) != Prompter::Answer::Yes) {
        return;
    }
    editing_.clearBuffer();
}

}  // namespace qel

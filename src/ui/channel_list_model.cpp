#include "ui/channel_list_model.h"

#include <QMimeData>
#include <QPainter>
#include <QPixmap>

#include "app/texts.h"
#include "listedit/list_view.h"

namespace qel {

namespace {

QIcon drawn(const QColor& fill, const QString& letter) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(fill);
    p.setPen(fill.darker(150));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, letter);
    return QIcon(pm);
}

}  // namespace

ChannelListModel::ChannelListModel(Session& session, QObject* parent)
    : QAbstractListModel(parent), session_(session) {}

int ChannelListModel::channelCount() const {
    return static_cast<int>(session_.workspace().shown().size());
}

int ChannelListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : channelCount() + 1;
}

Qt::ItemFlags ChannelListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractListModel::flags(index);
    if (index.isValid() && !isBlankRow(index.row())) f |= Qt::ItemIsDragEnabled;
    if (!index.isValid() || isBlankRow(index.row())) f |= Qt::ItemIsDropEnabled;
    return f | Qt::ItemIsDropEnabled;
}

QVariant ChannelListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || isBlankRow(index.row())) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const ChannelRec& ch = session_.workspace().shown()[row];
    if (role == Qt::DisplayRole) return Texts::fromLatin1(rowText(row, ch));
    if (role == Qt::DecorationRole) {
        switch (iconOf(ch)) {
            case RowIcon::Header:
                return headerIcon();
            case RowIcon::Parental:
                return parentalIcon();
            case RowIcon::None:
                return blankIcon();
        }
    }
    return {};
}

void ChannelListModel::refresh() {
    beginResetModel();
    endResetModel();
}

void ChannelListModel::rowsChanged(int first, int last) {
    emit dataChanged(index(first), index(last));
}

namespace {
const char* const kRowsMime = "application/x-qel-channel-rows";
}

QStringList ChannelListModel::mimeTypes() const {
    return {QString::fromLatin1(kRowsMime)};
}

QMimeData* ChannelListModel::mimeData(const QModelIndexList& indexes) const {
    auto* data = new QMimeData;
    QByteArray rows;
    for (const QModelIndex& i : indexes)
        rows += QByteArray::number(i.row()) + ' ';
    data->setData(QString::fromLatin1(kRowsMime), rows);
    return data;
}

bool ChannelListModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                       const QModelIndex&) const {
    return action == Qt::MoveAction && data->hasFormat(QString::fromLatin1(kRowsMime));
}

bool ChannelListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                    const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, 0, parent)) return false;
    // Between rows (row), onto a row (parent), or below the last one.
    const int before = row >= 0 ? row + 1 : (parent.isValid() ? parent.row() + 1 : rowCount());
    emit rowsDropped(before);
    return false;  // the rows are moved by the command, not removed by the view
}

QIcon ChannelListModel::headerIcon() {
    static const QIcon icon = drawn(QColor(0x2E, 0x6D, 0xB4), QStringLiteral("S"));
    return icon;
}

QIcon ChannelListModel::blankIcon() {
    static const QIcon icon = [] {
        QPixmap pm(16, 16);
        pm.fill(Qt::transparent);
        return QIcon(pm);
    }();
    return icon;
}

QIcon ChannelListModel::parentalIcon() {
    static const QIcon icon = drawn(QColor(0xC0, 0x39, 0x2B), QStringLiteral("P"));
    return icon;
}

}  // namespace qel

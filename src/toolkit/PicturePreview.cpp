#include "PicturePreview.h"

#include "PictureView.h"
#include "picture/AsyncDecode.h"
#include "picture/Picture.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

PicturePreview::PicturePreview(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PicturePreview"));
    auto* box = new QFrame(this);
    box->setFrameShape(QFrame::StyledPanel);
    box->setFixedSize(BoxWidth + 2, BoxHeight + 2);
    m_view = new PictureView(box);
    m_view->setObjectName(QStringLiteral("PreviewPicture"));
    m_view->setGeometry(1, 1, BoxWidth, BoxHeight);
    m_size = new QLabel(this);
    m_size->setObjectName(QStringLiteral("PreviewSize"));
    m_size->setAlignment(Qt::AlignHCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(m_size);
    layout->addStretch();
}

void PicturePreview::showFile(const QString& path)
{
    m_view->clear();
    m_size->clear();
    m_decode.cancel();
    if (!QFileInfo(path).isFile())
        return;
    // Decoded off the dialog's thread, so a large or hostile file never holds up the dialog; a
    // file that is not a picture this program can show leaves the box empty. Decoded for the
    // screen's pixels, so the preview is sharp at any scale.
    const QSize box(BoxWidth, BoxHeight);
    const qreal ratio = m_view->devicePixelRatioF();
    m_decode.loadReduced(path, box * ratio, this, [this, box, ratio](const AsyncDecode::Result& result) {
        if (result.image.isNull())
            return;
        m_view->setImage(Picture::fitted({result.image, result.pictureSize}, box, ratio));
        const QSize size = result.pictureSize;
        m_size->setText(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()));
        emit shown();
    });
}

void PicturePreview::attach(QFileDialog& dialog)
{
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid)
        return;
    auto* preview = new PicturePreview(&dialog);
    grid->addWidget(preview, 1, grid->columnCount(), 1, 1, Qt::AlignTop);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, &PicturePreview::showFile);
}

#include "ui/camera_view.h"

#include <QCamera>
#include <QHBoxLayout>
#include <QImageCapture>
#include <QLabel>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVideoFrame>
#include <QVideoWidget>

#include "ui/style.h"

namespace lumigrave::ui {

CameraView::CameraView(QWidget* parent)
    : QWidget(parent),
      session_(new QMediaCaptureSession(this)),
      camera_(new QCamera(QMediaDevices::defaultVideoInput(), this)),
      capture_(new QImageCapture(this)),
      shutter_(new QPushButton(QStringLiteral("Take Photo"), this)),
      status_(new QLabel(this)) {
    setAutoFillBackground(true);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, style::cameraBackdrop());
    dark.setColor(QPalette::WindowText, style::chromeText());
    setPalette(dark);

    auto* preview = new QVideoWidget(this);
    session_->setCamera(camera_);
    session_->setImageCapture(capture_);
    session_->setVideoOutput(preview);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    shutter_->setDefault(true);
    shutter_->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    buttons->addWidget(status_);
    buttons->addStretch(1);
    buttons->addWidget(shutter_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(preview, 1);
    layout->addLayout(buttons);

    connect(cancel, &QPushButton::clicked, this, [this] {
        if (!done_) {
            done_ = true;
            camera_->stop();
            emit cancelled();
        }
    });
    connect(shutter_, &QPushButton::clicked, this, &CameraView::takePicture);
    connect(capture_, &QImageCapture::readyForCaptureChanged, shutter_, &QWidget::setEnabled);
    // The full frame, not the preview the capture also hands out.
    connect(capture_, &QImageCapture::imageAvailable, this, [this](int, const QVideoFrame& frame) {
        QImage image = frame.toImage();
        if (done_) {
            return;
        }
        if (image.isNull()) {
            fail(QStringLiteral("The camera gave no picture."));
            return;
        }
        done_ = true;
        camera_->stop();
        emit captured(image);
    });
    connect(capture_, &QImageCapture::errorOccurred, this,
            [this](int, QImageCapture::Error, const QString& message) { fail(message); });
    connect(camera_, &QCamera::errorOccurred, this,
            [this](QCamera::Error, const QString& message) { fail(message); });
    status_->setText(QStringLiteral("Starting the camera..."));
    connect(camera_, &QCamera::activeChanged, status_, [this](bool active) {
        status_->setText(active ? QString() : QStringLiteral("The camera is off."));
    });
    camera_->start();
}

CameraView::~CameraView() = default;

bool CameraView::isCameraAvailable() {
    return !QMediaDevices::videoInputs().isEmpty();
}

void CameraView::takePicture() {
    if (done_ || !capture_->isReadyForCapture()) {
        return;
    }
    shutter_->setEnabled(false);
    capture_->capture();
}

void CameraView::fail(const QString& message) {
    if (done_) {
        return;
    }
    done_ = true;
    camera_->stop();
    emit failed(message.isEmpty() ? QStringLiteral("The camera could not take a picture.")
                                  : message);
}

}  // namespace lumigrave::ui

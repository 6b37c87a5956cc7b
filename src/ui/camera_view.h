#pragma once

#include <QImage>
#include <QWidget>

class QCamera;
class QImageCapture;
class QLabel;
class QMediaCaptureSession;
class QPushButton;

namespace lumigrave::ui {

// The camera's live picture with a button that takes a still and one that gives up.
// Shown by the photo picker when a camera is there.
class CameraView : public QWidget {
    Q_OBJECT
  public:
    explicit CameraView(QWidget* parent = nullptr);
    ~CameraView() override;

    // Whether Qt Multimedia reports any camera on this machine.
    static bool isCameraAvailable();

    // What the capture button does; it waits for the camera to be ready.
    void takePicture();

  signals:
    void captured(const QImage& image);
    void cancelled();
    // The camera failed or went away; the message says why.
    void failed(const QString& message);

  private:
    void fail(const QString& message);

    QMediaCaptureSession* session_;
    QCamera* camera_;
    QImageCapture* capture_;
    QPushButton* shutter_;
    QLabel* status_;
    bool done_ = false;
};

}  // namespace lumigrave::ui

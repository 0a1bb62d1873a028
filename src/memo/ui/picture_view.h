#pragma once

#include <QImage>
#include <QWidget>

namespace hinagiku::memo {

// The picture of a picture memo: centred, or stretched to the window.
class PictureView : public QWidget {
    Q_OBJECT
  public:
    explicit PictureView(QWidget* parent = nullptr);

    void setPicture(QImage picture);
    const QImage& picture() const { return picture_; }
    void setStretched(bool stretched);
    bool isStretched() const { return stretched_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
    bool stretched_ = false;
};

}  // namespace hinagiku::memo

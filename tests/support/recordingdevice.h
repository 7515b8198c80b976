#pragma once
// A paint device that writes down every primitive QPainter hands it, one line
// of text each; coordinates are integers where integral, else two decimals.

#include <QPaintDevice>
#include <QStringList>
#include <memory>

class RecordingEngine;

class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(int width, int height, int dpi);
    ~RecordingDevice() override;
    QPaintEngine *paintEngine() const override;
    const QStringList &lines() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int width_, height_, dpi_;
    std::unique_ptr<RecordingEngine> engine_;
};

#pragma once

#include <functional>
#include <optional>

#include "convert/PictureAdjustments.h"

class QWidget;

// Picture > "Adjust Picture...": brightness, contrast, saturation and gamma, each a slider with
// its number beside it, and auto levels. An interface, so that tests answer for the user.
class PictureAdjuster {
public:
    virtual ~PictureAdjuster() = default;
    // Shows the adjustments from `current`, calling `changed` with the new values whenever the
    // user changes one. Returns the values chosen (OK), or nothing (Cancel).
    virtual std::optional<PictureAdjustments> Adjust(
        QWidget* owner, const PictureAdjustments& current,
        const std::function<void(const PictureAdjustments&)>& changed) = 0;
};

// The dialog itself, modal over the owner.
class QtPictureAdjuster : public PictureAdjuster {
public:
    std::optional<PictureAdjustments> Adjust(
        QWidget* owner, const PictureAdjustments& current,
        const std::function<void(const PictureAdjustments&)>& changed) override;
};

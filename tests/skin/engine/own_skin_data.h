#pragma once

// The program's own skin loaded into a skin data component, and a frame that
// only counts what its non-client objects ask of it.
#include "app/own_skin.h"
#include "skin/data/skin_data.h"
#include "skin/engine/frame/form_frame_geometry.h"

#include <memory>

inline std::unique_ptr<skin::TSkinData> loadOwnSkin() {
    auto data = std::make_unique<skin::TSkinData>();
    data->setSkinStream(app::ownSkinPackage());
    return data;
}

struct CountingHost : skin::NCObjectHost {
    void paintObject(skin::TNCObject&) override { ++paints; }
    void hideCaptionHint() override { ++hintsHidden; }
    int paints = 0;
    int hintsHidden = 0;
};

#pragma once

// Bounding box of the node coordinates: all streamline work stays inside it.
struct DomainBox {
    float xmin = 0.0f;
    float ymin = 0.0f;
    float xmax = 0.0f;
    float ymax = 0.0f;

    float width() const { return xmax - xmin; }
    float height() const { return ymax - ymin; }
};

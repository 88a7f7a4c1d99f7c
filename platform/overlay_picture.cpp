#include "platform/overlay_picture.h"

#include "platform/desktop_overlay.h"
#include "platform/image_surface.h"

namespace platform {

bool drawOnOverlay(const QImage& picture, int x, int y) {
  // Both platforms' overlays are image surfaces; one made elsewhere may not
  // take pictures.
  auto* surface = dynamic_cast<ImageSurface*>(current().overlay());
  if (!surface) return false;
  // A live overlay shows the client's windows through it as they change.
  auto* desktop = dynamic_cast<DesktopOverlay*>(surface);
  if (desktop && desktop->live()) return false;
  surface->putImage(x, y, picture);
  surface->flush();
  return true;
}

}  // namespace platform

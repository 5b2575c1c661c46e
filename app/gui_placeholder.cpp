// Keeps the window library non-empty while it has no other sources.
namespace hm {
int GuiLibraryAnchor() { return 0; }
}  // namespace hm

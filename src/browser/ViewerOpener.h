#pragma once

namespace dovi {
class Workspace;
class ShellServices;
} // namespace dovi

namespace dovi::browser {

class Preview;

// A double-click on the file list or a left click on the preview: opens the
// viewer on the file the preview shows, only while it shows one. When the
// viewer closes, the preview shows the file afresh (it may have been
// edited). While the preview is still reading the file, the viewer opens
// when it has read it. False when nothing was or will be opened.
bool openPreviewedFile(const Workspace& ws, Preview& preview, ShellServices& shell);

} // namespace dovi::browser

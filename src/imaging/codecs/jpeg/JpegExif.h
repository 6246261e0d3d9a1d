#pragma once
#include "imaging/codecs/CodecTypes.h"

#include <QByteArray>

// The few EXIF facts a JPEG load and save need: the orientation in IFD0 of an
// APP1 "Exif\0\0" payload. Every offset is checked against the payload; a
// malformed payload reads as upright and is never an error.
namespace dovi::imaging::jpeg::exif {

// True when the APP1 payload starts with the EXIF signature.
bool isExif(Bytes app1);

// The orientation tag (1..8) of IFD0; 1 when absent, out of range or unreadable.
int orientation(Bytes app1);

// A copy of the payload for a picture whose pixels are already upright: every
// readable orientation tag of IFD0 is set to 1, and the link from IFD0 to the
// thumbnail IFD is cut, since that thumbnail no longer matches the pixels.
QByteArray forUprightSave(const QByteArray& app1);

} // namespace dovi::imaging::jpeg::exif

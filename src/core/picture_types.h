#pragma once
// Which files are pictures: the extensions the system's decoders name, the file-dialog pattern made of
// them, and the picture types that need a codec the system may lack.
#include <string>
#include <string_view>
#include <vector>

namespace qr {

// The extensions of a decoder's list as the system gives it (".png,.PNG;.apng"), lower case, without
// dots, each once, in the order given.
std::vector<std::string> ParseCodecExtensions(std::string_view list);
// Appends the extensions of `more` that `extensions` lacks.
void MergeExtensions(std::vector<std::string>& extensions, const std::vector<std::string>& more);
// "*.png;*.gif" for {"png", "gif"}.
std::string ExtensionPattern(const std::vector<std::string>& extensions);
// The path's extension (after the last dot of its last component), compared without case.
bool HasExtensionIn(std::string_view path, const std::vector<std::string>& extensions);
// Picture types a user may bring whose codec is installed separately or not at all (WebP, HEIC, AVIF,
// JPEG XL, JPEG XR): a file of such a type that cannot be decoded lacks its codec.
bool IsCodecDependentPicture(std::string_view path);

}  // namespace qr

#include "app/game_textures.h"

#include <mutex>
#include <unordered_map>

#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/text.h"
#include "platform/texture.h"

namespace tr {
namespace {

// Ids are handed out on the loading thread and looked up while drawing.
struct Registry {
  std::mutex mutex;
  std::unordered_map<TextureId, std::unique_ptr<Texture>> textures;
  TextureId next = 1;
};

Registry& GetRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

TextureId AddGameTexture(std::unique_ptr<Texture> texture) {
  if (!texture) return kNoTexture;
  Registry& r = GetRegistry();
  std::lock_guard lock(r.mutex);
  const TextureId id = r.next++;
  r.textures.emplace(id, std::move(texture));
  return id;
}

TextureId LoadGameTexture(const std::filesystem::path& file, PictureBound bound) {
  std::string error;
  auto texture = Texture::FromPngFile(file, &error, bound);
  if (texture) {
    texture->set_label(file.filename().string());
  } else if (IsReadableRegularFile(file)) {
    LogFormat(u"ERROR: the picture %s is not loaded: %s", Utf8ToUtf16(file.string()), Utf8ToUtf16(error));
  }
  return AddGameTexture(std::move(texture));
}

PictureBound TextureUseBound(eTextureUse use) {
  if (use == eTextureUse::kUnitSheet) return {8192, 8192, std::int64_t{4096} * 4096};
  return {512, 512, std::int64_t{512} * 512};
}

void ReleaseGameTexture(TextureId id) {
  if (id == kNoTexture) return;
  Registry& r = GetRegistry();
  std::lock_guard lock(r.mutex);
  r.textures.erase(id);
}

const Texture* FindGameTexture(TextureId id) {
  if (id == kNoTexture) return nullptr;
  Registry& r = GetRegistry();
  std::lock_guard lock(r.mutex);
  const auto it = r.textures.find(id);
  return it == r.textures.end() ? nullptr : it->second.get();
}

}  // namespace tr

// Process-wide caches of Java field IDs, one per Java class that owns one,
// and the text-information records read through them.
#ifndef RVX_BRIDGE_FIELD_CACHES_H
#define RVX_BRIDGE_FIELD_CACHES_H

#include <jni.h>

#include <array>
#include <atomic>
#include <cstddef>

#include "bridge/engine.h"
#include "bridge/frame.h"

namespace rvx {

struct FieldSpec {
    const char* name;
    const char* signature;
};

// The field IDs of one Java class. Entries hold null until the class's
// initFIDs has looked them up. Each entry is one atomic pointer-sized value,
// so a reader on another thread sees either null or a valid ID.
template <std::size_t N>
class FieldCache {
public:
    using Ids = std::array<jfieldID, N>;

    FieldCache(const char* classPath, const std::array<FieldSpec, N>& fields)
        : classPath_(classPath), fields_(fields) {}

    // Looks every field up on cls in table order. Stops at the first field
    // that the class lacks: its entry becomes null and GetFieldID's
    // NoSuchFieldError stays pending, since no further JNI call may be made.
    void fill(JNIEnv* env, jclass cls) {
        for (std::size_t i = 0; i < N; ++i) {
            const jfieldID id = env->GetFieldID(cls, fields_[i].name, fields_[i].signature);
            ids_[i].store(id, std::memory_order_release);
            if (id == nullptr) {
                return;
            }
        }
    }

    // Copies the entries into ids. Returns false with IllegalStateException
    // pending when any entry is still null.
    bool snapshot(JNIEnv* env, Ids& ids) const {
        for (std::size_t i = 0; i < N; ++i) {
            ids[i] = ids_[i].load(std::memory_order_acquire);
            if (ids[i] == nullptr) {
                throwJava(env, "java/lang/IllegalStateException",
                          "%s: field IDs are not initialised (initFIDs did not run or failed)",
                          classPath_);
                return false;
            }
        }
        return true;
    }

private:
    const char* classPath_;
    std::array<FieldSpec, N> fields_;
    std::array<std::atomic<jfieldID>, N> ids_{};
};

inline constexpr std::size_t kTextInfoFieldCount = 7;
using TextInfoCache = FieldCache<kTextInfoFieldCount>;

TextInfoCache& textInfoCacheV3();
TextInfoCache& textInfoCacheV4();

// Reads the seven fields of a text-information object into record through
// the cache of its class. Returns false with an exception pending when the
// object is null, the cache is not filled or a name exceeds 255 bytes.
bool readTextInfo(JNIEnv* env, jobject info, const TextInfoCache& cache, TextInfoRecV4& record);

// Builds the V3 record from a filled V4 record: two new 256-byte heap buffers
// receive all 256 bytes of each name. Returns false with OutOfMemoryError
// pending when a buffer cannot be allocated.
bool makeTextInfoRecV3(JNIEnv* env, const TextInfoRecV4& source, TextInfoV3& target);

}  // namespace rvx

#endif

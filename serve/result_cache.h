// Rendered answers kept by their inputs, so that a feed asked for again
// costs a lookup. Bounded by the bytes it holds: the least recently used
// answers go first. Safe for many threads; the lock is split by key.
#pragma once

#include "serve/http_server.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

// One rendered answer, shared by every request that gets it.
struct Rendered {
    std::shared_ptr<const std::string> body;  // empty when sendable holds it
    std::shared_ptr<const SendableBody> sendable;
    std::string contentType;
    std::string disposition;  // Content-Disposition; empty for none
    std::string etag;         // "\"...\"": a hash of the body, the same on every copy of the service
    int64_t modified = 0;     // Last-Modified, seconds since 1970 UTC
};

class ResultCache {
public:
    explicit ResultCache(std::size_t byteLimit, std::size_t shards = 16);

    // The answer kept for key, or nothing.
    std::shared_ptr<const Rendered> Find(const std::string& key);
    // Keeps the answer, dropping the least recently used ones of its shard
    // to stay within the limit. An answer larger than a shard's share is
    // not kept.
    void Keep(const std::string& key, std::shared_ptr<const Rendered> rendered);

    std::size_t Bytes() const;

private:
    struct Shard {
        using Entry = std::pair<std::string, std::shared_ptr<const Rendered>>;
        mutable std::mutex lock;
        std::list<Entry> order;  // most recently used first
        std::unordered_map<std::string, std::list<Entry>::iterator> index;
        std::size_t bytes = 0;
    };
    Shard& ShardOf(const std::string& key);

    std::size_t shardLimit_;
    std::vector<std::unique_ptr<Shard>> shards_;
};

// The bytes an answer holds in the cache, its key included.
std::size_t CachedSize(const std::string& key, const Rendered& rendered);

// "\"16 hexadecimal digits\"": the bytes' CRC-32, then their Adler-32.
std::string EntityTag(const std::string& bytes);

#include "tools/content/cache_rules.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dravel_content {
namespace {

CacheHeaders Answer(std::string cache_control, long status = 200) {
  CacheHeaders headers;
  headers.status = status;
  headers.cache_control = std::move(cache_control);
  headers.etag = "\"6b1abe17-36b\"";
  return headers;
}

std::vector<std::string> Kinds(const CacheHeaders& headers, CachedFile file) {
  std::vector<std::string> kinds;
  for (const CacheFinding& finding : JudgeCaching(headers, file)) kinds.push_back(finding.kind);
  return kinds;
}

TEST(SharedLifetime, SharedCachesGoBySMaxageThenMaxAgeThenExpires) {
  EXPECT_EQ(SharedLifetime(Answer("max-age=60")), 60);
  EXPECT_EQ(SharedLifetime(Answer("max-age=60, s-maxage=600")), 600);
  EXPECT_EQ(SharedLifetime(Answer("Max-Age=\"86400\", immutable")), 86400);
  EXPECT_EQ(SharedLifetime(Answer("max-age=60, max-age=7")), 60) << "the first one counts";
  EXPECT_EQ(SharedLifetime(Answer("max-age=99999999999999999999")), 9223372036854775807LL);

  CacheHeaders dated = Answer("");
  dated.date = "Thu, 10 Dec 2026 15:00:00 GMT";
  dated.expires = "Thu, 10 Dec 2026 15:05:00 GMT";
  EXPECT_EQ(SharedLifetime(dated), 300);
  dated.date.clear();
  dated.received = curl_getdate("Thu, 10 Dec 2026 15:04:00 GMT", nullptr);
  EXPECT_EQ(SharedLifetime(dated), 60) << "without a Date, from when the answer came";
  dated.expires = "0";
  EXPECT_EQ(SharedLifetime(dated), 0) << "an Expires that is no date has expired";
}

TEST(SharedLifetime, NothingWhenTheAnswerDoesNotSayAndZeroWhenCachesMustAsk) {
  EXPECT_EQ(SharedLifetime(Answer("")), std::nullopt);
  EXPECT_EQ(SharedLifetime(Answer("public, immutable")), std::nullopt);
  for (const char* must_ask :
       {"no-cache", "No-Store", "private, max-age=86400", "max-age=-1", "max-age=1d", "max-age="}) {
    EXPECT_EQ(SharedLifetime(Answer(must_ask)), 0) << must_ask;
  }
  EXPECT_EQ(SharedLifetime(Answer("max-age=60, no-cache=\"Set-Cookie\"")), 60)
      << "a no-cache with field names is about those fields only";
}

TEST(JudgeCaching, TheContentServersOwnAnswersPass) {
  EXPECT_TRUE(Kinds(Answer("max-age=60"), CachedFile::kScheme).empty());
  EXPECT_TRUE(Kinds(Answer("max-age=86400"), CachedFile::kPicture).empty());
  CacheHeaders hashed = Answer("max-age=31536000, immutable");
  hashed.etag.clear();
  hashed.last_modified = "Thu, 10 Dec 2026 14:58:31 GMT";
  EXPECT_TRUE(Kinds(hashed, CachedFile::kPicture).empty());
  EXPECT_TRUE(Kinds(Answer("no-cache"), CachedFile::kScheme).empty())
      << "a scheme asked for every time is never out of date";
}

TEST(JudgeCaching, EachFaultIsAKindOfItsOwn) {
  using Names = std::vector<std::string>;
  EXPECT_EQ(Kinds(Answer(""), CachedFile::kScheme), Names{"no-lifetime"});
  EXPECT_EQ(Kinds(Answer(""), CachedFile::kPicture), Names{"no-lifetime"});
  EXPECT_TRUE(Kinds(Answer("max-age=300"), CachedFile::kScheme).empty());
  EXPECT_EQ(Kinds(Answer("max-age=301"), CachedFile::kScheme), Names{"scheme-kept-long"});
  EXPECT_EQ(Kinds(Answer("max-age=86399"), CachedFile::kPicture), Names{"picture-kept-short"});
  EXPECT_EQ(Kinds(Answer("no-store"), CachedFile::kPicture), Names{"picture-kept-short"});

  CacheHeaders compressed = Answer("max-age=60");
  compressed.content_encoding = "gzip";
  EXPECT_EQ(Kinds(compressed, CachedFile::kScheme), Names{"compressed"});
  compressed.content_encoding = "identity";
  EXPECT_TRUE(Kinds(compressed, CachedFile::kScheme).empty());

  CacheHeaders bare = Answer("max-age=86400");
  bare.etag.clear();
  EXPECT_EQ(Kinds(bare, CachedFile::kPicture), Names{"no-validator"});
}

TEST(JudgeCaching, ARedirectIsAllThatIsSaidOfIt) {
  CacheHeaders moved = Answer("", 301);
  moved.location = "https://cdn.example/uploads/all/dravel/1/ok.jpg";
  moved.content_encoding = "gzip";
  const auto findings = JudgeCaching(moved, CachedFile::kPicture);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].kind, "redirect");
  EXPECT_NE(findings[0].message.find(moved.location), std::string::npos);
  EXPECT_TRUE(Kinds(Answer("", 404), CachedFile::kScheme).empty()) << "a 404 is not the caches'";
}

}  // namespace
}  // namespace dravel_content

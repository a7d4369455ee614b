#include "math/ExpLogKernels.h"
#include "math/ExtendedBits.h"
#include "math/MpfrEvaluation.h"
#include "math/Transcendental.h"
#include "math/TrigonometricKernels.h"

// The sine and cosine of moderate arguments and the arc tangent of normal numbers whose ratio is
// not tiny have fast paths in fixed point, as Exp and Log; the other arguments and the rare
// argument whose rounding a fast path cannot decide are correctly rounded by MPFR.

namespace velmora::math {

namespace {

// x = k pi/2 + r with k = x 2/pi rounded (or one off, see below) and r = m/64 + d, m = r 64
// rounded, so that for x >= 0
//   sin x = (+-) sin r or (+-) cos r after k mod 4,
//   sin r = S + S c' + s + C' s,  cos r = 1 + C' + c' + C' c' - S s,
// with S = sin(m/64), C' = cos(m/64) - 1 from the table (|m| <= 50, within half a unit of
// 2^-127 each), s = sin d and c' = cos d - 1.
// |x| < 2^30 is taken exactly in fixed point with 96 fraction bits (its last bit is at least
// 2^-83), k < 2^29.4 from its top 64 bits and 2/pi to 64 (within 2^-32 of x 2/pi, so
// |r| <= pi/4 + 2^-31.3), and pi/2 to 160 bits: r = x - k pi/2 is within 1.001 2^-96 of itself.
// From there on everything is in 128 bits with 127 fraction bits: |d| <= 2^-7, d^2 within 4
// units,
//   s = d + d d^2 (-1/3! + d^2/5! - d^4/7! + d^6/9!)       (series left out below 2^-102.3),
//   c' = d^2 (-1/2! + d^2/4! - d^4/6! + d^6/8! - d^8/10!)  (below 2^-112.8),
// each product of two numbers below 1 within 4 units: s within 4.1 + 2^24.7 units, c' within
// 6, and sin r or cos r within 20 + 2^24.7 units of its value at the computed r. With r's own
// error, the result is within 2^31 + 2^24.7 + 20 < 2^31.1 units of 2^-127; the rounding test
// allows 2^34 before normalising. A result below 2^-28 would need 2^63 units and more after
// it and goes to MPFR, as does |r| < 2^-40, where cos r would lie too close to 1 (for larger r
// the rest of cos r after 1 is below -2^-82). The numbers multiplied stay below 0.8 in
// magnitude.
constexpr Word HalfPi = {0x00000001921fb544ULL, 0x42d18469898cc517ULL};  // pi/2 2^96
constexpr std::uint64_t HalfPiLow = 0x01b839a252049c11ULL;               // the next 64 bits
constexpr std::uint64_t TwoOverPi = 0xa2f9836e4e44152aULL;               // 2/pi 2^64
constexpr std::uint64_t SinCosErrorUnits = 1ULL << 34;

// sin(m/64) 2^127 and (cos(m/64) - 1) 2^127, rounded to nearest.
constexpr Word SineTable[52][2] = {
    {{0x0000000000000000ULL, 0x0000000000000000ULL}, {0x0000000000000000ULL, 0x0000000000000000ULL}},
    {{0x01fffaaaaeeeed4eULL, 0xd549c6560f889ee5ULL}, {0xfffc000555527d28ULL, 0xa28a03a5ef356723ULL}},
    {{0x03ffd555dddd0dd1ULL, 0x95fc826eda8f232bULL}, {0xfff00055549f4ac4ULL, 0xabb6d2764a4a37ddULL}},
    {{0x05ff70040cbeea2aULL, 0x66420b916686623bULL}, {0xffdc01aff7e67b3aULL, 0x6254fcdb950a0c1bULL}},
    {{0x07feaabbbb53b6adULL, 0x2e92cd97b496a565ULL}, {0xffc0055527d34d32ULL, 0x8387b99426f10adcULL}},
    {{0x09fd658968baad4dULL, 0xbcdd5acd72e93c65ULL}, {0xff9c0d04a7bdbb8dULL, 0x02f320da41a5f031ULL}},
    {{0x0bfb808192a8720dULL, 0x7e168c00280d0804ULL}, {0xff701afdf9ae6d31ULL, 0x902b535f8db59470ULL}},
    {{0x0df8dbc2b41c8ebdULL, 0x23083bd4998f94acULL}, {0xff3c32003a66c47aULL, 0x8f5e1b461ab08d95ULL}},
    {{0x0ff5577743771ae5ULL, 0x034d43390fc4fc2dULL}, {0xff005549f56f4db6ULL, 0x8f35094efb78c673ULL}},
    {{0x11f0d3d7afceaea4ULL, 0x41abd9a2596d28bdULL}, {0xfebc8898f12f4bd5ULL, 0xaa63d98bb12e9661ULL}},
    {{0x13eb312c5d66cb51ULL, 0xf599ad9b2e43eacaULL}, {0xfe70d029f310a1c5ULL, 0xb6b063b74622df85ULL}},
    {{0x15e44fcfa126f2a4ULL, 0x2ef3e701d928a4a9ULL}, {0xfe1d30b87bb3d639ULL, 0xaeb1eccd4ea1cf0fULL}},
    {{0x17dc102fbaf2b515ULL, 0xab50e23c97c2b12cULL}, {0xfdc1af7e7b386e96ULL, 0x737f3c9234bf750aULL}},
    {{0x19d252d0cec31233ULL, 0x887b016226fa7d29ULL}, {0xfd5e5233fd9e5c78ULL, 0xe834f80ec7519d6fULL}},
    {{0x1bc6f84edc619967ULL, 0x0695a9ec32ac1723ULL}, {0xfcf31f0ecf45b7b7ULL, 0x9714b5d72daf6ce1ULL}},
    {{0x1db9e15fb5a5cfb3ULL, 0x477ca4ce40f86cb3ULL}, {0xfc801cc219927cdcULL, 0xa020b60cc25b65f7ULL}},
    {{0x1faaeed4f31576baULL, 0x89debdc7351e8b1bULL}, {0xfc05527df7ba85d3ULL, 0xc1e99e5cafca7c52ULL}},
    {{0x219a019de6c86b30ULL, 0x27af9b60ea5c2229ULL}, {0xfb82c7ef03c46fe4ULL, 0x02dc7f443c4f27a1ULL}},
    {{0x2386fac98d70eca3ULL, 0x03b7f06e7fa3ff19ULL}, {0xfaf8853ddbbe9efdULL, 0x060ed45abc213c19ULL}},
    {{0x2571bb887d693e45ULL, 0x54e267cb601a8cddULL}, {0xfa66930e9f360addULL, 0x9b4e43ac31869560ULL}},
    {{0x275a252ed3a7b001ULL, 0x03d550487839a714ULL}, {0xf9ccfa8064f4fe9bULL, 0xd74cab931ed5c43cULL}},
    {{0x294019361e7a40c1ULL, 0x1dd35d8475641610ULL}, {0xf92bc52ca9126e97ULL, 0x35fd17597cce633aULL}},
    {{0x2b23793f45eb2e5fULL, 0x1d2eb0ff832b9148ULL}, {0xf882fd26b35b03d3ULL, 0x3ea2702139290222ULL}},
    {{0x2d04271471afed13ULL, 0xbb6fedddaa98eba6ULL}, {0xf7d2acfaf61d761dULL, 0x2758198c93c516a1ULL}},
    {{0x2ee204aaec8427a4ULL, 0x54a33ad124c6f2ecULL}, {0xf71adfae65644829ULL, 0x66c8eedb9a69d23fULL}},
    {{0x30bcf42504d292c5ULL, 0x2074dafd6701f293ULL}, {0xf65ba0bdc6a771ffULL, 0x61bd5d2039d52479ULL}},
    {{0x3294d7d3ea8d894bULL, 0x18f60cbe05420509ULL}, {0xf594fc1cf900fe89ULL, 0xdc9bcb413c8b53c8ULL}},
    {{0x346992398a1993cbULL, 0x9de3895e62666ee2ULL}, {0xf4c6fe3635f018f3ULL, 0x06e9844e5ee8c53bULL}},
    {{0x363b060a642c2d28ULL, 0xede9a33057362956ULL}, {0xf3f1b3e94ab67d8bULL, 0x5b5508f2a0ce6803ULL}},
    {{0x3809162f62814646ULL, 0x7f99d5fa7e9a0666ULL}, {0xf3152a8aca5cb853ULL, 0xb858aea0ea607242ULL}},
    {{0x39d3a5c7a94a3db4ULL, 0x0dd7b494759fd811ULL}, {0xf2316fe3386a10d5ULL, 0x9e8d0ac8091478a3ULL}},
    {{0x3b9a982a65393486ULL, 0xa6370b8feccf359dULL}, {0xf146922e2c5d77b9ULL, 0x112f11955e001e22ULL}},
    {{0x3d5dd0e8960bdfd0ULL, 0xec9786c9fb06f6cdULL}, {0xf054a0196df53e76ULL, 0xdeeeced17d7d6cc3ULL}},
    {{0x3f1d33ced5792e33ULL, 0xb2a15e5a014684b2ULL}, {0xef5ba8c40a53d498ULL, 0xdde6446084e6a0e3ULL}},
    {{0x40d8a4e71a6552d2ULL, 0x73287c684fea6b55ULL}, {0xee5bbbbd62103828ULL, 0xb4798f1f5bc0674eULL}},
    {{0x4290087a78400290ULL, 0x9bc5ec6eb0a3a9e8ULL}, {0xed54e90430413831ULL, 0xfef28e04f42af4caULL}},
    {{0x44434312da70edd9ULL, 0x1899880998112939ULL}, {0xec4741058a93188eULL, 0xeab0f7de060d4d2aULL}},
    {{0x45f2397cbbb6c04dULL, 0x795c40b8921eb1ebULL}, {0xeb32d49bda77958fULL, 0xb6a8dd6b6cc45221ULL}},
    {{0x479cd0c8d95d3091ULL, 0x51fd27a0ead1ffeaULL}, {0xea17b50dcf80b466ULL, 0xf818e17b1e46c982ULL}},
    {{0x4942ee4de22eecf5ULL, 0x1e8122bde672ce21ULL}, {0xe8f5f40d4af73a97ULL, 0x245135e6996b7491ULL}},
    {{0x4ae477aa21087605ULL, 0xc8e24de95504f429ULL}, {0xe7cda3b644be12e2ULL, 0xdff3a86e9f984758ULL}},
    {{0x4c8152c522f13df6ULL, 0xb42095a135b3af6bULL}, {0xe69ed68da9945172ULL, 0x2cfcc9fa7a88440dULL}},
    {{0x4e1965d158a0ab77ULL, 0x8292b627c2bcc8e5ULL}, {0xe5699f8032c7f2f4ULL, 0x1025de079d335073ULL}},
    {{0x4fac974db354e7c8ULL, 0x351e3d51e080ccc2ULL}, {0xe42e11e1376bdb78ULL, 0x0a77aa3623c94b41ULL}},
    {{0x513ace073ce1aac1ULL, 0x293e195aafaa02e1ULL}, {0xe2ec416977240186ULL, 0x3e03e9474c0f1a40ULL}},
    {{0x52c3f11aaadd8404ULL, 0x36815ce33166e94aULL}, {0xe1a44235de9b1899ULL, 0xc7ff15ff4ee89c0dULL}},
    {{0x5447e7f5ecd46ea3ULL, 0xf179e3b77cf121cdULL}, {0xe05628c645b57388ULL, 0x5d1bd1f75c8658adULL}},
    {{0x55c69a59b566cc39ULL, 0x08769a1f632ebf1dULL}, {0xdf0209fc27953b8eULL, 0x30a4a354465fa6d1ULL}},
    {{0x573ff05afe3c3596ULL, 0xcb370eb578a05244ULL}, {0xdda7fb1954847b9fULL, 0x60a8c1ce5cecc9daULL}},
    {{0x58b3d26486b1e212ULL, 0x267aa49dbe611deaULL}, {0xdc4811be9dd9e142ULL, 0x5b0a5029c80b5fd1ULL}},
    {{0x5a2229384d2cba94ULL, 0x82c89bb2a1a52ce9ULL}, {0xdae263ea7bed748aULL, 0xd63c3667a58d24c7ULL}},
    {{0x5b8addf102f78378ULL, 0xc6b3d40295674893ULL}, {0xd97707f7ae32e7cdULL, 0x07c9719907116807ULL}},
};
// -1/3!, 1/5!, -1/7!, 1/9! and -1/2!, 1/4!, ..., -1/10! times 2^127, rounded to nearest.
constexpr Word SineSeries[] = {{0xeaaaaaaaaaaaaaaaULL, 0xaaaaaaaaaaaaaaabULL},
                               {0x0111111111111111ULL, 0x1111111111111111ULL},
                               {0xfff97f97f97f97f9ULL, 0x7f97f97f97f97f98ULL},
                               {0x0000171de3a556c7ULL, 0x338faac1c88e5001ULL}};
constexpr Word CosineSeries[] = {{0xc000000000000000ULL, 0x0000000000000000ULL},
                                 {0x0555555555555555ULL, 0x5555555555555555ULL},
                                 {0xffd27d27d27d27d2ULL, 0x7d27d27d27d27d28ULL},
                                 {0x0000d00d00d00d00ULL, 0xd00d00d00d00d00dULL},
                                 {0xfffffdb0360910ecULL, 0x1471a21fd2582b33ULL}};

// Horner's scheme c[0] + y (c[1] + ... y c[count-1]) in 128-bit fixed point.
Signed128 Series(Signed128 y, const Word* c, int count) {
  Signed128 sum = Signed(c[count - 1]);
  for (int n = count - 2; n >= 0; --n) sum = Signed(c[n]) + MultiplyHigh(y, sum);
  return sum;
}

// atan2(y, x) = (+-) atan t, pi/2 - atan t, pi - atan t or pi/2 + atan t after the quadrant, for
// t = |y|/|x| or |x|/|y|, whichever is at most 1; t >= 2^-21 where the exponents of x and y lie
// at most 20 apart. t is formed to 127 fraction bits by two 64-bit quotients, within 2 units of
// 2^-127 (the error that matters: the rest is computed from that t). With j = t 64 rounded,
// t0 = j/64 and d = (t - t0)/(1 + t t0), |d| < 2^-7,
//   atan t = atan(t0) + atan d,  atan d = d + d d^2 (-1/3 + d^2/5 - ... - d^12/15),
// the series left out below |d|^17/17 < 16 units of 2^-127. d is the quotient by the top 64 bits
// of 1 + t t0 to 135 bits, less its product with the rest of the divisor over the top: within
// 9 units of 2^-135. atan(t0) is taken from the table (within half a unit), d^2 and the products
// of numbers below 1 within 4 units each: atan d within 5.2 units, atan t within 24 units of
// 2^-127 of its value at the computed t. The result, in 125 fraction bits, is within
// 24/4 + 1 + 2 0.5 = 8 units of 2^-125; the rounding test allows 64 before normalising.
constexpr std::uint64_t ArcTangentErrorUnits = 64;

// atan(j/64) 2^127, rounded to nearest.
constexpr Word ArcTangentTable[65] = {
    {0x0000000000000000ULL, 0x0000000000000000ULL}, {0x01fff555bbb729abULL, 0x77cf18ac802beec1ULL},
    {0x03ffaab7752ec495ULL, 0x09de75ddb76a3188ULL}, {0x05fee0610c368a7eULL, 0x79107086b0efab76ULL},
    {0x07fd56edcb3f7a71ULL, 0xb6593c96e071706bULL}, {0x09facf873e2aceb5ULL, 0x899c50bbf08e6cdfULL},
    {0x0bf70c1301788746ULL, 0x093567e784cf8367ULL}, {0x0df1cf5f3783e1beULL, 0xf71e5340b30e5d9fULL},
    {0x0feadd4d5617b6e3ULL, 0x2c897989f3e888efULL}, {0x11e1fafb043726e4ULL, 0xb7a6eb25307415f3ULL},
    {0x13d6eee8c6626c58ULL, 0x68ec33a4a06c1fd1ULL}, {0x15c9811e3ec269dfULL, 0x56a9a7fde185bd33ULL},
    {0x17b97b4bce5b0226ULL, 0x8f6169f103938e91ULL}, {0x19a6a8e96c86261cULL, 0xf601e7b4348ddd67ULL},
    {0x1b90d7529260a204ULL, 0x5ec434b8396aa5e0ULL}, {0x1d77d5df20573671ULL, 0x923454d165f7af1dULL},
    {0x1f5b75f92c80dd62ULL, 0xadb8f3debef442fdULL}, {0x213b8b2fb0c6c4b1ULL, 0x7239c865c32af4e9ULL},
    {0x2317eb4617e2f04cULL, 0x3291d22c6fe20a63ULL}, {0x24f06e40afde8b7cULL, 0x419164901bf8511fULL},
    {0x26c4ee6e0fd7979aULL, 0x716aed26349ebccaULL}, {0x2895486d855e1351ULL, 0x50de1d52622e3679ULL},
    {0x2a615b32a39a93b6ULL, 0xa66dfddefdf67a30ULL}, {0x2c290806139fc32cULL, 0x6d475477080283f1ULL},
    {0x2dec3283c9bde11cULL, 0xe2a8c848b73f9121ULL}, {0x2faac096c767eeb4ULL, 0xe442e15924d0440aULL},
    {0x31649a7294364adbULL, 0x685d1ba47d428a37ULL}, {0x3319aa8a9ad630cfULL, 0x364c47e853b66df1ULL},
    {0x34c9dd879847f96dULL, 0x909f257a40079c4eULL}, {0x3675223b4cb8d8d7ULL, 0x0c3d8e5282018d17ULL},
    {0x381b69929d93df19ULL, 0xf18c7b659e632e01ULL}, {0x39bca6865826a12eULL, 0x982ddf38729b70b2ULL},
    {0x3b58ce0ac3769ed1ULL, 0x5bf9117b2f0ea341ULL}, {0x3cefd6fe2eb46887ULL, 0x29ee0df9a1ab7cffULL},
    {0x3e81ba16a8282f97ULL, 0x19b48f1f57723b31ULL}, {0x400e71cf06902e4cULL, 0xd36b6362a6c9c2cbULL},
    {0x4195fa536cc33f15ULL, 0x25b504e5b0d28ae0ULL}, {0x4318516d6d0f6832ULL, 0xe9f4276a809e51bfULL},
    {0x4495766fef4aa3daULL, 0x84a23c7e2395a57eULL}, {0x460d6a22f9f04dc6ULL, 0x21cec00c30102c90ULL},
    {0x47802eaf7bfacfcdULL, 0xae41af0b32e21ba4ULL}, {0x48edc78b3279a871ULL, 0x08727ce089370110ULL},
    {0x4a563964c238c37bULL, 0x0c6279c9fbc5197cULL}, {0x4bb98a101b2f29c5ULL, 0xd5e9ff0cf8d75b59ULL},
    {0x4d17c07338deed10ULL, 0x21137c711027f9deULL}, {0x4e70e473505c66dcULL, 0xfbcce2740ba6788eULL},
    {0x4fc4fee27a5bd0f6ULL, 0x7c5a4932278380f0ULL}, {0x5114196de56d5704ULL, 0x497f4e0431bd7873ULL},
    {0x525e3e8c9a7b8492ULL, 0x0cd43f9522bed64fULL}, {0x53a3796edbb0114aULL, 0x33dbeb3796ba700dULL},
    {0x54e3d5ee24187ae4ULL, 0x48b5425adf3c99fbULL}, {0x561f607dccbeeb50ULL, 0xd1b139d2b57d477aULL},
    {0x5756261c5a6c6040ULL, 0x0a392f179f290385ULL}, {0x5888344575ee37b5ULL, 0x21eb2bc45cfb53dbULL},
    {0x59b598e48f821b48ULL, 0xac80a0ba22317c9dULL}, {0x5ade62482cf66257ULL, 0xfc79e773af1c83ebULL},
    {0x5c029f15e118cf39ULL, 0xe596d2a90852221fULL}, {0x5d225e3eea383c17ULL, 0xb2a6165884a171c3ULL},
    {0x5e3daef574c57940ULL, 0x6a0898037407d948ULL}, {0x5f54a0a27e824d56ULL, 0x0821e2f3aa94173fULL},
    {0x606742dc56293320ULL, 0x44eeb16237497d12ULL}, {0x6175a55db30b145aULL, 0xd9b9ff22e30ddcfdULL},
    {0x627fd7fd5fc7deaaULL, 0x465a1e885e4f0111ULL}, {0x6385eaa673017709ULL, 0xf3eaa7de84f95f1cULL},
    {0x6487ed5110b4611aULL, 0x62633145c06e0e69ULL},
};
// -1/3, 1/5, -1/7, 1/9, -1/11, 1/13, -1/15 times 2^127, rounded to nearest.
constexpr Word ArcTangentSeries[] = {
    {0xd555555555555555ULL, 0x5555555555555555ULL}, {0x1999999999999999ULL, 0x999999999999999aULL},
    {0xedb6db6db6db6db6ULL, 0xdb6db6db6db6db6eULL}, {0x0e38e38e38e38e38ULL, 0xe38e38e38e38e38eULL},
    {0xf45d1745d1745d17ULL, 0x45d1745d1745d174ULL}, {0x09d89d89d89d89d8ULL, 0x9d89d89d89d89d8aULL},
    {0xf777777777777777ULL, 0x7777777777777777ULL}};
constexpr Word HalfPi125 = {0x3243f6a8885a308dULL, 0x313198a2e0370734ULL};  // pi/2 2^125, rounded to nearest
constexpr Word Pi125 = {0x6487ed5110b4611aULL, 0x62633145c06e0e69ULL};      // pi 2^125, rounded to nearest

// floor(a 2^64 / b) for a < b: the next 64 bits of a quotient whose remainder is a.
Unsigned128 LowerQuotient(Unsigned128 a, std::uint64_t b) { return (a << 64) / b; }

// |numerator| / (2 denominator) in 2^-127 units, with the numerator in 2^-127 units (at most
// 2^120 in magnitude) and the denominator in [2^126, 2^127).
Signed128 Quotient(Signed128 numerator, Unsigned128 denominator) {
  const Unsigned128 n = static_cast<Unsigned128>(numerator < 0 ? -numerator : numerator) << 7;
  const std::uint64_t top = static_cast<std::uint64_t>(denominator >> 63);
  const Unsigned128 rest = denominator & ((static_cast<Unsigned128>(1) << 63) - 1);
  const Unsigned128 q1 = n / top;
  const Unsigned128 q2 = LowerQuotient(n - q1 * top, top);
  const Unsigned128 correction = 2 * ((q1 * rest) / top);  // the quotient times rest/(top 2^63)
  const Signed128 magnitude = static_cast<Signed128>((((q1 << 64) | q2) - correction) >> 8);
  return numerator < 0 ? -magnitude : magnitude;
}

}  // namespace

std::optional<Wide> SinCosKernel(const ExtendedBits& b, bool cosine) {
  const Unsigned128 x = static_cast<Unsigned128>(b.significand)
                        << (static_cast<int>(b.Field()) - Bias + 33);  // |x| 2^96
  const std::uint64_t k =
      static_cast<std::uint64_t>((static_cast<Unsigned128>(static_cast<std::uint64_t>(x >> 64)) * TwoOverPi +
                                  (static_cast<Unsigned128>(1) << 95)) >>
                                 96);
  const Signed128 r96 =
      static_cast<Signed128>(x - k * Unsigned(HalfPi) - ((static_cast<Unsigned128>(k) * HalfPiLow) >> 64));
  if (r96 < (static_cast<Signed128>(1) << 56) && r96 > -(static_cast<Signed128>(1) << 56))
    return std::nullopt;
  const Signed128 r = r96 << 31;  // 2^-127 units
  const std::int64_t m = static_cast<std::int64_t>((r96 + (static_cast<Signed128>(1) << 89)) >> 90);
  const Signed128 d = r - (static_cast<Signed128>(m) << 121);
  const Signed128 d2 = MultiplyHigh(d, d);
  const Signed128 s = d + MultiplyHigh(d, MultiplyHigh(d2, Series(d2, SineSeries, 4)));
  const Signed128 c = MultiplyHigh(d2, Series(d2, CosineSeries, 5));
  const Word* entry = SineTable[m < 0 ? -m : m];
  const Signed128 sineM = m < 0 ? -Signed(entry[0]) : Signed(entry[0]), cosineM = Signed(entry[1]);
  const std::uint64_t quadrant = k + (cosine ? 1 : 0);
  // cos r = 1 + (a negative rest): the sum is formed modulo 2^128, its value below 2^127
  const Signed128 value =
      (quadrant & 1) == 0
          ? sineM + MultiplyHigh(sineM, c) + s + MultiplyHigh(cosineM, s)
          : static_cast<Signed128>(
                (static_cast<Unsigned128>(1) << 127) +
                static_cast<Unsigned128>(cosineM + c + MultiplyHigh(cosineM, c) - MultiplyHigh(sineM, s)));
  const bool negative = (((quadrant & 2) != 0) != (value < 0)) != (b.Negative() && !cosine);
  const Unsigned128 magnitude = static_cast<Unsigned128>(value < 0 ? -value : value);
  if (magnitude < (static_cast<Unsigned128>(1) << 99)) return std::nullopt;
  return Normalised(magnitude, -127, negative, SinCosErrorUnits);
}

std::optional<Wide> ArcTangentKernel(const ExtendedBits& y, const ExtendedBits& x) {
  const bool steep = y.Field() > x.Field() || (y.Field() == x.Field() && y.significand > x.significand);
  const ExtendedBits& smaller = steep ? x : y;
  const ExtendedBits& larger = steep ? y : x;
  const int gap = static_cast<int>(larger.Field()) - static_cast<int>(smaller.Field());
  if (gap > 20) return std::nullopt;
  // t 2^127 = floor(smaller's significand 2^127 / larger's) 2^-gap, at most 2^127
  const Unsigned128 scaled = static_cast<Unsigned128>(smaller.significand) << 63;
  const Unsigned128 high = scaled / larger.significand;
  const Unsigned128 low = LowerQuotient(scaled - high * larger.significand, larger.significand);
  const Unsigned128 t = ((high << 64) | low) >> gap;
  const int j = static_cast<int>((t + (static_cast<Unsigned128>(1) << 120)) >> 121);
  const Signed128 numerator = static_cast<Signed128>(t - (static_cast<Unsigned128>(j) << 121));  // t - t0
  const Unsigned128 denominator = (static_cast<Unsigned128>(1) << 126) + (t >> 7) * static_cast<unsigned>(j) +
                                  (((t & 127) * static_cast<unsigned>(j)) >> 7);  // (1 + t t0) 2^126
  const Signed128 d = numerator == 0 ? 0 : Quotient(numerator, denominator);
  const Signed128 d2 = MultiplyHigh(d, d);
  const Signed128 atanT =
      Signed(ArcTangentTable[j]) + d + MultiplyHigh(d, MultiplyHigh(d2, Series(d2, ArcTangentSeries, 7)));
  Signed128 angle = atanT >> 2;  // 2^-125 units
  if (steep) angle = Signed(HalfPi125) - angle;
  if (x.Negative()) angle = Signed(Pi125) - angle;
  return Normalised(static_cast<Unsigned128>(angle), -125, y.Negative(), ArcTangentErrorUnits);
}

}  // namespace velmora::math

namespace velmora {

namespace {

// MPFR reads the bits of its argument: a pseudo-denormal (a denormal exponent with the integer
// bit set) is put in its normal form first, which multiplying by 1 does.
long double Canonical(long double x) { return math::BitsOf(x).Field() == 0 ? x * 1.0L : x; }

// sin x or cos x through the fast path where it applies and decides the rounding, else MPFR.
long double SineOrCosine(long double x, bool cosine) {
  const math::ExtendedBits b = math::BitsOf(x);
  if (b.Field() >= math::Bias - 20 && b.Field() < math::Bias + 30) {
    long double result = 0.0L;
    const std::optional<math::Wide> w = math::SinCosKernel(b, cosine);
    if (w && math::RoundsDecidedly(*w, result)) return result;
  }
  return cosine ? math::MpfrCos(Canonical(x)) : math::MpfrSin(Canonical(x));
}

}  // namespace

long double Sin(long double x) {
  const math::ExtendedBits b = math::BitsOf(x);
  if (b.NotFinite()) return b.Infinite() ? x - x : x + x;
  if (x == 0.0L) return x;
  return SineOrCosine(x, false);
}

long double Cos(long double x) {
  const math::ExtendedBits b = math::BitsOf(x);
  if (b.NotFinite()) return b.Infinite() ? x - x : x + x;
  return SineOrCosine(x, true);
}

long double Atan2(long double y, long double x) {
  const math::ExtendedBits by = math::BitsOf(y), bx = math::BitsOf(x);
  if ((by.NotFinite() && !by.Infinite()) || (bx.NotFinite() && !bx.Infinite())) return y + x;
  if (by.Field() != 0 && bx.Field() != 0 && !by.NotFinite() && !bx.NotFinite()) {  // both normal
    long double result = 0.0L;
    const std::optional<math::Wide> w = math::ArcTangentKernel(by, bx);
    if (w && math::RoundsDecidedly(*w, result)) return result;
  }
  return math::MpfrAtan2(Canonical(y), Canonical(x));
}

}  // namespace velmora

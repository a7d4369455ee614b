#include <cfloat>
#include <cmath>

#include "math/ExpLogKernels.h"
#include "math/ExtendedBits.h"
#include "math/MpfrEvaluation.h"
#include "math/Transcendental.h"

namespace velmora::math {

namespace {

// ---- The exponential ---------------------------------------------------------------------
//
// x = (16384 m + 128 j + l) ln2/16384 + r, so that exp(x) = 2^m 2^(j/128) 2^(l/16384) exp(r).
// k = 16384 m + 128 j + l is x 16384/ln 2 rounded to an integer (or one off, see below),
// |k| < 2^28, and |r| <= ln2/32768 + 2^-40 < 2^-15.5. In fixed point with 112 fraction bits, x
// (|x| < 2^13.5) is exact but for the bits below 2^-112, and ln2/16384 is taken to 176 bits, so
// r = x - k ln2/16384 is within 2^-111 of itself.
//   exp(r) = 1 + r + r^2/2 + r^3 Q(r),  Q = 1/6 + r/24 + r^2/120,
// with a remainder below 1.001 |r|^6/6! < 2^-102.4. Only r itself is carried in 128 bits; the
// rest is formed from r truncated to 2^-78 with single 64-bit products, each of them truncated:
//   s, r^2 to 2^-94:      within 2 |r| 2^-78 + 2^-94 < 4 units of 2^-94, 2^-92;
//   q, Q to 2^-64:        its three terms within 1 unit each (2^-64 Q is negligible below);
//   c, r^3 = r s to 2^-108: within |r| 2^-92 + r^2 2^-78 + 2^-108 < 2^-106.5;
//   c q to 2^-108:        within r^3 3 2^-64 + 2^-106.5/6 + 2^-108 < 2^-107;
// and the tail r^2/2 + r^3 Q = s/2 + c q, summed to 2^-95, is within 2^-93 + 2^-95 + 2^-107.
// So 1 + r + tail is within 1.26 2^-93 + 2^-111 + 2^-102.4 < 1.27 2^-93 of exp(r). The two
// tables hold 2^(j/128) and 2^(l/16384) to 127 fraction bits; their product and its product
// with exp(r) each add 3 units of 2^-126. So the result (below 2.0001) is within
// 2.0001 1.27 2^-93 + 6 2^-126 < 2^34.35 units of its 126-bit last place; the rounding test
// allows 2^37 units before normalising (a failing test, one argument in 2^25 or so, goes to
// MPFR).
constexpr Word Ln2Over16384High = {0x00000002c5c85fdfULL, 0x473de6af278ece60ULL};  // ln2/16384 2^112
constexpr std::uint64_t Ln2Over16384Low = 0x0fcbdabd03cd0c99ULL;                   // the next 64 bits
constexpr std::int64_t InverseLn2Over16384 = 3326628274461080623LL;                // 16384/ln 2 2^47
constexpr std::uint64_t ExpErrorUnits = 1ULL << 37;

// 1/6, 1/24, 1/120 times 2^64, rounded to nearest.
constexpr std::int64_t ExpSeries[] = {0x2aaaaaaaaaaaaaabLL, 0x0aaaaaaaaaaaaaabLL, 0x0222222222222222LL};

// 2^(j/128) 2^127 and 2^(l/16384) 2^127, rounded to nearest.
constexpr Word CoarsePowers[128] = {
    {0x8000000000000000ULL, 0x0000000000000000ULL}, {0x80b1ed4fd999ab6cULL, 0x25335719b6e6fd20ULL},
    {0x8164d1f3bc030773ULL, 0x7be56527bd14def5ULL}, {0x8218af4373fc25ebULL, 0x9c7cd106d23f3768ULL},
    {0x82cd8698ac2ba1d7ULL, 0x3e2a475b46520bffULL}, {0x8383594eefb6ee36ULL, 0xe201d4ec3d93f684ULL},
    {0x843a28c3acde4046ULL, 0x1af92eca13fd1582ULL}, {0x84f1f656379c1a29ULL, 0x0f03062c26b5ba5dULL},
    {0x85aac367cc487b14ULL, 0xc5c95b8c2154c1b2ULL}, {0x8664915b923fba03ULL, 0xdb82dc49ee2f4556ULL},
    {0x871f61969e8d1010ULL, 0x3a1727c57b52a956ULL}, {0x87db357ff698d791ULL, 0x9048eec50a1328a7ULL},
    {0x88980e8092da8527ULL, 0x5df8d76c98c67563ULL}, {0x8955ee03618e5fdcULL, 0x95d69926b4717b94ULL},
    {0x8a14d575496efd9aULL, 0x080ca1d92c3680c2ULL}, {0x8ad4c6452c728924ULL, 0x06ab9eeab09dfc95ULL},
    {0x8b95c1e3ea8bd6e6ULL, 0xfbe4628758a53c90ULL}, {0x8c57c9c4646f4dddULL, 0xfb85cd1e1282e4beULL},
    {0x8d1adf5b7e5ba9e5ULL, 0xb4c7b4968e41ad36ULL}, {0x8ddf042022e69cd5ULL, 0x8f395a213f1afcd6ULL},
    {0x8ea4398b45cd53c0ULL, 0x2dc0144c8783d4c6ULL}, {0x8f6a8117e6c8e5c4ULL, 0x0cffb0890e8f2827ULL},
    {0x9031dc431466b1dcULL, 0x775814a8494e87e2ULL}, {0x90fa4c8beee4b12aULL, 0x97e9494a5eda5b0fULL},
    {0x91c3d373ab11c336ULL, 0x0fd6d8e0ae5ac9d8ULL}, {0x928e727d9531f9acULL, 0x155bef4f4a408d4eULL},
    {0x935a2b2f13e6e92bULL, 0xd339940e9d924ee7ULL}, {0x9426ff0fab1c04b6ULL, 0x78ae781e504b3fedULL},
    {0x94f4efa8fef70961ULL, 0x2e8afad12551de54ULL}, {0x95c3fe86d6cc7feeULL, 0xf52329c7e55c4221ULL},
    {0x96942d3720185a00ULL, 0x48ea9b683a9c22c5ULL}, {0x97657d49f17ab08eULL, 0x507a2ea91c19d7b1ULL},
    {0x9837f0518db8a96fULL, 0x46ad23182e42f6f6ULL}, {0x990b87e266c189a9ULL, 0xce78e18047c36ef2ULL},
    {0x99e0459320b7fa64ULL, 0xe43086cb34b5fcafULL}, {0x9ab62afc94ff864aULL, 0x311a3b1b9d79c6b7ULL},
    {0x9b8d39b9d54e5538ULL, 0xa2a817a2a3cc3f1fULL}, {0x9c6573682ec32c2dULL, 0x4e586cdf686429dfULL},
    {0x9d3ed9a72cffb750ULL, 0xde494cf050e99b0bULL}, {0x9e196e189d472420ULL, 0x00f9145ac79bbaf0ULL},
    {0x9ef5326091a111adULL, 0xa0911f09ebb9fdd1ULL}, {0x9fd228256400dd05ULL, 0xfb80d520c197dc61ULL},
    {0xa0b0510fb9714fc2ULL, 0x192dc79edb0fd9a9ULL}, {0xa18faeca8544b6e3ULL, 0x8221ca08667640f1ULL},
    {0xa27043030c496818ULL, 0x9b7a04ef80cfdea8ULL}, {0xa3520f68e802bb92ULL, 0x897a2c914ecbefa0ULL},
    {0xa43515ae09e6809eULL, 0x0d1db4831781e1efULL}, {0xa5195786be9ef339ULL, 0x6c5e7a37cac3230fULL},
    {0xa5fed6a9b15138eaULL, 0x1cbd7f621710701bULL}, {0xa6e594cfeee86b1dULL, 0x9b778d4f06624259ULL},
    {0xa7cd93b4e9653569ULL, 0x9ec5b4d5039f72afULL}, {0xa8b6d5167b320e08ULL, 0x97a96426c110c874ULL},
    {0xa9a15ab4ea7c0ef8ULL, 0x541e24ec3531fa73ULL}, {0xaa8d2652ec907629ULL, 0x76310121a6533932ULL},
    {0xab7a39b5a93ed337ULL, 0x658023b2759e0079ULL}, {0xac6896a4be3fe929ULL, 0x5e15b9a1de79764aULL},
    {0xad583eea42a14ac6ULL, 0x4980a8c8f59a2ec4ULL}, {0xae493452ca35b80eULL, 0x258dc0b4c35101ecULL},
    {0xaf3b78ad690a4374ULL, 0xdf26101ccbb35033ULL}, {0xb02f0dcbb6e04583ULL, 0xb7ac9524371d9a75ULL},
    {0xb123f581d2ac258fULL, 0x87d037e96d215d8eULL}, {0xb21a31a66618fe3bULL, 0x7c38a6276cd27208ULL},
    {0xb311c412a9112489ULL, 0x3ecf14dc798a519cULL}, {0xb40aaea2654b9840ULL, 0xe2b913dcf9938360ULL},
    {0xb504f333f9de6484ULL, 0x597d89b3754abe9fULL}, {0xb60093a85ed5f76bULL, 0xb54cc007a799fef6ULL},
    {0xb6fd91e328d17791ULL, 0x07165f0ddd541a5aULL}, {0xb7fbefca8ca41e7cULL, 0x3f0da79f109dffceULL},
    {0xb8fbaf4762fb9ee9ULL, 0x1b879778566b65a2ULL}, {0xb9fcd2452c0b9deaULL, 0xe4d27345588c1571ULL},
    {0xbaff5ab2133e45fbULL, 0x74d519d24593838cULL}, {0xbc034a7ef2e9fb0cULL, 0xd7014042c595d95fULL},
    {0xbd08a39f580c36beULL, 0xa8811fb66d0faf7aULL}, {0xbe0f6809860993e2ULL, 0x499a22c9bab1596eULL},
    {0xbf1799b67a731082ULL, 0xe815d0abcbf0b851ULL}, {0xc0213aa1f0d08db0ULL, 0x6f33b24d1aa75383ULL},
    {0xc12c4cca66709456ULL, 0x7c457d59a50087b5ULL}, {0xc238d2311e3d6672ULL, 0x97b5cbe3204a9b88ULL},
    {0xc346ccda24976407ULL, 0x20ec856128b83a42ULL}, {0xc4563ecc5334cb32ULL, 0x985e6f96a74eb094ULL},
    {0xc5672a115506daddULL, 0x3e2ad0c964dd9f37ULL}, {0xc67990b5aa245f79ULL, 0x550e68b0e2aec255ULL},
    {0xc78d74c8abb9b15cULL, 0xc13a2e3976c0277eULL}, {0xc8a2d85c8ffe2c45ULL, 0x30da34fb5b8700e1ULL},
    {0xc9b9bd866e2f27a2ULL, 0x80e1f92a0511697eULL}, {0xcad2265e4290774dULL, 0xa41b4ad07e37be3fULL},
    {0xcbec14fef2727c5cULL, 0xf4907c8f45ebf6ddULL}, {0xcd078b86503dcdd1ULL, 0x884dc62339bdf58dULL},
    {0xce248c151f8480e3ULL, 0xe235838f95f2c6edULL}, {0xcf4318cf191918c1ULL, 0x2653c7326370087dULL},
    {0xd06333daef2b2594ULL, 0xd6d45c6559a4d502ULL}, {0xd184df6251699ac6ULL, 0x0b8fbb86d56aa3fdULL},
    {0xd2a81d91f12ae45aULL, 0x12248e57c3de4028ULL}, {0xd3ccf099859ac379ULL, 0x6fd958ac78d4c3cbULL},
    {0xd4f35aabcfedfa1fULL, 0x5921deffa6262c5bULL}, {0xd61b5dfe9f9bce06ULL, 0xdcb3518932fe39f2ULL},
    {0xd744fccad69d6af4ULL, 0x39a68bb9902d3fdeULL}, {0xd870394c6db32c84ULL, 0x21566fe37b65072fULL},
    {0xd99d15c278afd7b5ULL, 0xfe873deca3e12bacULL}, {0xdacb946f2ac9cc71ULL, 0xc40888b2439e38b9ULL},
    {0xdbfbb797daf23755ULL, 0x3d840d5a9e29aa64ULL}, {0xdd2d818508324c20ULL, 0x659e357ada3f94b9ULL},
    {0xde60f4825e0e9123ULL, 0xdd07a2d9e8466859ULL}, {0xdf9612deb8f04420ULL, 0x46b8128c71a24fd0ULL},
    {0xe0ccdeec2a94e111ULL, 0x065895048dd333caULL}, {0xe2055afffe83d368ULL, 0xa6fc1078c14529b3ULL},
    {0xe33f8972be8a5a51ULL, 0x09bfe90795980eedULL}, {0xe47b6ca0373da88dULL, 0x65e24402e2216edbULL},
    {0xe5b906e77c8348a8ULL, 0x1e5e8f4a4edbb0edULL}, {0xe6f85aaaee1fce22ULL, 0x7c4ac7d628df28b0ULL},
    {0xe8396a503c4bdc68ULL, 0x791790d0ac70c7deULL}, {0xe97c38406c4f8c56ULL, 0xf091cc4f51012da6ULL},
    {0xeac0c6e7dd24392eULL, 0xd02d75b3706e54fbULL}, {0xec0718b64c1cbddcULL, 0x27ce824402fc25f6ULL},
    {0xed4f301ed9942b84ULL, 0x600d2db6a64bfb12ULL}, {0xee990f980da3025bULL, 0x4aef1e031851c991ULL},
    {0xefe4b99bdcdaf5cbULL, 0x46561cf6948db913ULL}, {0xf13230a7ad094509ULL, 0x3b0fd0bd6d3233f4ULL},
    {0xf281773c59ffb139ULL, 0xe8980a9cc8f47a4bULL}, {0xf3d28fde3a641a5aULL, 0xa4594191bc33ac54ULL},
    {0xf5257d152486cc2cULL, 0x7b9d0c7aed980fc3ULL}, {0xf67a416c733f846dULL, 0x81897dca4e77a310ULL},
    {0xf7d0df730ad13bb8ULL, 0xfe90d496d60fb6ebULL}, {0xf92959bb5dd4ba74ULL, 0x34b7e1b1c86a6357ULL},
    {0xfa83b2db722a033aULL, 0x7c25bb14315d7fcdULL}, {0xfbdfed6ce5f09c48ULL, 0x9da5ff395ecae2e7ULL},
    {0xfd3e0c0cf486c174ULL, 0x853f3a5931e0ee03ULL}, {0xfe9e115c7b8f884bULL, 0xadd25995e79d2f09ULL},
};
constexpr Word FinePowers[128] = {
    {0x8000000000000000ULL, 0x0000000000000000ULL}, {0x800162e61bed4a48ULL, 0xe84c2e1a463473daULL},
    {0x8002c5d00fdcfcb6ULL, 0xb6566a58c048be1fULL}, {0x800428bddbd9bf99ULL, 0x0d2893e85affca64ULL},
    {0x80058baf7fee3b5dULL, 0x1c718b38e549cb93ULL}, {0x8006eea4fc25188dULL, 0xa0d7201492b1d78aULL},
    {0x8008519e5088ffd2ULL, 0xe448009aa78e39cdULL}, {0x8009b49b7d2499f2ULL, 0xbe4da91d51695528ULL},
    {0x800b179c82028fd0ULL, 0x945e54e2ae18f2f0ULL}, {0x800c7aa15f2d8a6dULL, 0x5a2eefc903f9e56bULL},
    {0x800dddaa14b032e7ULL, 0x920508ce2dc5e9b3ULL}, {0x800f40b6a295327bULL, 0x4d08c57a3c79bc3eULL},
    {0x8010a3c708e73282ULL, 0x2b96d62d51c15a07ULL}, {0x801206db47b0dc73ULL, 0x5d926b50b5606f22ULL},
    {0x801369f35efcd9e3ULL, 0xa2b72b6b280cfa61ULL}, {0x8014cd0f4ed5d485ULL, 0x4aeb2a187632347dULL},
    {0x8016302f17467628ULL, 0x3690dfe44d11d008ULL}, {0x80179352b85968b9ULL, 0xd6d9230854b9ae44ULL},
    {0x8018f67a32195645ULL, 0x2e15210d91442bc3ULL}, {0x801a59a58490e8f2ULL, 0xd00859510dd92ea6ULL},
    {0x801bbcd4afcacb08ULL, 0xe23a986bd3e626f0ULL}, {0x801d2007b3d1a6ebULL, 0x1c49f47e3103386dULL},
    {0x801e833e90b0271aULL, 0xc83cca5e4dfbcc59ULL}, {0x801fe6794670f636ULL, 0xc2d3bbaa1970cfd9ULL},
    {0x802149b7d51ebefbULL, 0x7bdbadbc888aeb29ULL}, {0x8022acfa3cc42c42ULL, 0xf67fc9863033042bULL},
    {0x802410407d6be904ULL, 0xc99b7c49394765e7ULL}, {0x8025738a9720a056ULL, 0x200c7938b243ed5aULL},
    {0x8026d6d889ecfd69ULL, 0xb904bbfb40d3a2b7ULL}, {0x80283a2a55dbab8fULL, 0xe85c8c1135c22d28ULL},
    {0x80299d7ffaf75636ULL, 0x96e4811e05c395edULL}, {0x802b00d9794aa8e9ULL, 0x42b788152988d66cULL},
    {0x802c6436d0e04f50ULL, 0xff8ce94a6797b3ceULL}, {0x802dc79801c2f534ULL, 0x770a4f658a5c7168ULL},
    {0x802f2afd0bfd4677ULL, 0xe915cf3984ebea27ULL}, {0x80308e65ef99ef1dULL, 0x2c27f07f08eca7ebULL},
    {0x8031f1d2aca39b43ULL, 0xad9db772901d96b6ULL}, {0x803355434324f728ULL, 0x720aaf55dbf0f840ULL},
    {0x8034b8b7b328af26ULL, 0x158af5d4edb2437cULL}, {0x80361c2ffcb96fb4ULL, 0xcc15474e79ada248ULL},
    {0x80377fac1fe1e56aULL, 0x61cd0bffd7cfc683ULL}, {0x8038e32c1cacbcfaULL, 0x3b5466147434d66eULL},
    {0x803a46aff324a335ULL, 0x561e4098c21d372cULL}, {0x803baa37a354450aULL, 0x48c05f50b3bf0303ULL},
    {0x803d0dc32d464f85ULL, 0x43456f71b96affd4ULL}, {0x803e715291056fd0ULL, 0x0f7f19404a7bf116ULL},
    {0x803fd4e5ce9c5332ULL, 0x11581290fa872772ULL}, {0x8041387ce615a710ULL, 0x4726322d1d4536faULL},
    {0x80429c17d77c18edULL, 0x49fc841afba9c3c6ULL}, {0x8043ffb6a2da5669ULL, 0x4dfd5ec99ca15b95ULL},
    {0x80456359483b0d42ULL, 0x22ac792023ec59ecULL}, {0x8046c6ffc7a8eb53ULL, 0x33410170c98ddaf8ULL},
    {0x80482aaa212e9e95ULL, 0x86f7b54f6c45c85eULL}, {0x80498e5854d6d51fULL, 0xc164fa4bc18d11e7ULL},
    {0x804af20a62ac3d26ULL, 0x22c6f78f258b2addULL}, {0x804c55c04ab984faULL, 0x8857b05e0d7bebb0ULL},
    {0x804db97a0d095b0cULL, 0x6c9f1f7d1efcfe68ULL}, {0x804f1d37a9a66de8ULL, 0xe7c55379eeba032fULL},
    {0x805080f9209b6c3aULL, 0xafe48bd768eea108ULL}, {0x8051e4be71f304caULL, 0x195b571de635bdcfULL},
    {0x805348879db7e67dULL, 0x171eb1ceef1d1f28ULL}, {0x8054ac54a3f4c057ULL, 0x3b0c263cb0f4bd2fULL},
    {0x8056102584b44179ULL, 0xb63bed452651163eULL}, {0x805773fa40011923ULL, 0x59530ff0f5b7da40ULL},
    {0x8058d7d2d5e5f6b0ULL, 0x94d589f608ee4aa2ULL}, {0x805a3baf466d899bULL, 0x79786d1ddf60b2eeULL},
    {0x805b9f8f91a2817bULL, 0xb874058f9e1a64e4ULL}, {0x805d0373b78f8e06ULL, 0xa3d5fefddfc5a9c3ULL},
    {0x805e675bb83f5f0fULL, 0x2ed38ab8472b2144ULL}, {0x805fcb4793bca485ULL, 0xee1b86a0d6a80d99ULL},
    {0x80612f374a120e79ULL, 0x1828a5050f1312bbULL}, {0x8062932adb4a4d14ULL, 0x8593955ad886f5f6ULL},
    {0x8063f722477010a1ULL, 0xb1652de1378af1a1ULL}, {0x80655b1d8e8e0987ULL, 0xb9689624d11037bdULL},
    {0x8066bf1cb0aee84bULL, 0x5e7d72683fbc44feULL}, {0x8068231faddd5d8fULL, 0x04ea0ff03cf7acb0ULL},
    {0x8069872686241a12ULL, 0xb4ad9233a0390cadULL}, {0x806aeb31398dceb4ULL, 0x19d220ef3703df7bULL},
    {0x806c4f3fc8252c6eULL, 0x84bf171d7812e989ULL}, {0x806db35231f4e45aULL, 0xea8b32d21426053bULL},
    {0x806f17687707a7afULL, 0xe54ec5f966eb1872ULL}, {0x80707b82976827c1ULL, 0xb475e7fbca7a0500ULL},
    {0x8071dfa093211602ULL, 0x3d12a844cfdb6c45ULL}, {0x807343c26a3d2401ULL, 0x0a2f41ae5f122538ULL},
    {0x8074a7e81cc7036bULL, 0x4d204ecfc11f4aabULL}, {0x80760c11aac9660bULL, 0xddd6ff309678cecdULL},
    {0x8077703f144efdcbULL, 0x3b334d5fbc6a876cULL}, {0x8078d47059627cafULL, 0x8b5635ee23d9ad95ULL},
    {0x807a38a57a0e94dcULL, 0x9bf3ef4d9be2d1e4ULL}, {0x807b9cde765df893ULL, 0xe2a6229392ca4db8ULL},
    {0x807d011b4e5b5a34ULL, 0x7d3e251fcfb74057ULL}, {0x807e655c02116c3bULL, 0x3217332727b12debULL},
    {0x807fc9a0918ae142ULL, 0x7068ab2230585d13ULL}, {0x80812de8fcd26c02ULL, 0x50984a1ff2d1169dULL},
    {0x8082923543f2bf50ULL, 0x948c68fca159f1d9ULL}, {0x8083f68566f68e20ULL, 0xa7fe3a7c52055ecdULL},
    {0x80855ad965e88b83ULL, 0xa0cc0a49c10ea66bULL}, {0x8086bf3140d36aa8ULL, 0x3f4b7cd91d429fbdULL},
    {0x8088238cf7c1dedaULL, 0xee9bd02ee0f45fe6ULL}, {0x808987ec8abe9b85ULL, 0xc4f81d8ab9f63192ULL},
    {0x808aec4ff9d45430ULL, 0x84099bf6830f2768ULL}, {0x808c50b7450dbc80ULL, 0x9939e3b95165a3d6ULL},
    {0x808db5226c758839ULL, 0x1e0532ae98573770ULL}, {0x808f199170166b3aULL, 0xd84cb18166363deaULL},
    {0x80907e044ffb1984ULL, 0x3aa8b9cbbc65a8abULL}, {0x8091e27b0c2e4731ULL, 0x64bb1d1a054b6c9dULL},
    {0x809346f5a4baa87cULL, 0x23816cd2aa921000ULL}, {0x8094ab7419aaf1bbULL, 0xf1a74301ce31db89ULL},
    {0x80960ff66b09d765ULL, 0xf7d88c0928ba3947ULL}, {0x8097747c98e20e0dULL, 0x0d13d1340f53d25aULL},
    {0x8098d906a33e4a61ULL, 0xb6fc842fa3f40391ULL}, {0x809a3d948a294132ULL, 0x2a2d4b67323a47c7ULL},
    {0x809ba2264dada76aULL, 0x4a8a4f44bb703db6ULL}, {0x809d06bbedd63213ULL, 0xab938855b424f5d6ULL},
    {0x809e6b556aad9655ULL, 0x90b70e53f5dc3bb3ULL}, {0x809fcff2c43e8974ULL, 0xeda36812e74a94fbULL},
    {0x80a13493fa93c0d4ULL, 0x6699dc50dd96b774ULL}, {0x80a299390db7f1f4ULL, 0x50c0c36cb9193dbeULL},
    {0x80a3fde1fdb5d272ULL, 0xb275d9ffc01369d2ULL}, {0x80a5628eca98180bULL, 0x43a0945bb9d5cad5ULL},
    {0x80a6c73f74697897ULL, 0x6e0472ed4ccfa2e0ULL}, {0x80a82bf3fb34aa0eULL, 0x4d935782a1fff00bULL},
    {0x80a990ac5f046284ULL, 0xb0bfdb765041031bULL}, {0x80aaf5689fe3582dULL, 0x18cfa6be91e794c9ULL},
    {0x80ac5a28bddc4157ULL, 0xba2dc7e0c72e51baULL}, {0x80adbeecb8f9d472ULL, 0x7cbd0cc947e6dbe5ULL},
    {0x80af23b49146c808ULL, 0xfc2a5c8786e94718ULL}, {0x80b0888046cdd2c4ULL, 0x883f11ee89bb1d25ULL},
};

// ---- The logarithm -----------------------------------------------------------------------
//
// x = 2^e f with 1 <= f < 2 (a denormal x normalised first), and i the 8 bits of f after the
// point. The first table holds for each i a c = 4096 C with C of 12 bits close to 1/f (1 for
// i = 0, 1/2 for i = 255), a = 1 for f >= 1.5 (0 otherwise) and T = -ln C - a ln 2; so that with
// s = f C - 1, s 2^75 = f 2^63 c - 2^75 an exact integer and |s| < 2^-8,
//   ln x = (e + a) ln 2 + T + ln(1 + s).
// The second table, indexed by j = floor(s 2^15) + 128, holds a c' = 2^24 C' with C' close to
// 1/(1 + s) (1 for j = 127 and 128) and T' = -ln C'; with r = (1 + s) C' - 1, r 2^99 an exact
// integer and |r| < 2^-15 (2^-15.98 but for j = 127 and 128, where r = s),
//   ln(1 + s) = T' + ln(1 + r),  ln(1 + r) = r - r^2/2 + r^3 Q(r),  Q = 1/3 - r/4 + r^2/5 - r^3/6,
// with a remainder below 1.0001 |r|^7/7 < 2^-107.8. r^2 is formed in 128 bits (within 4 units
// of 2^-127); the rest from r truncated to 2^-78 and r^2 to 2^-92 (below 2^62 even for
// |r| = 2^-15) with single 64-bit products, each truncated:
//   q, Q to 2^-64:            within 0.5 + 1 + 1 units and the products' negligible rest, 2.6;
//   c, r^3 = r r^2 to 2^-106: within |r| 2^-92 + r^2 2^-78 + 2^-106 < 2^-105.2;
//   c q, r^3 Q to 2^-106:     within |r|^3 2.6 2^-64 + 2^-105.2/3 + 2^-106 < 2^-105.07;
// so ln(1 + r) is within 2^-105.07 + 2^-107.8 + 3 2^-127 < 2^-104.85. The result is summed in
// fixed point with 113 fraction bits (|ln x| < 11400 < 2^13.5): ln 2 to 177 bits times
// |e + a| <= 16446 within 2 units, T and T' each within a unit of their rounding down, ln(1 + r)
// within 2^8.15 + 1: below 300 units of 2^-113 in all (the test allows 2048); normalising the
// sum (|ln x| >= 2^-15.01, at least 98 bits) scales them by at most 2^30.
// Where e + a = 0, i is 0 or 255 and j is 127 or 128 (|x - 1| < 2^-15, r = x - 1 exactly) the
// result is r (1 + W), W = -r/2 + r^2 Q, for a relative accuracy however close x is to 1: r^2 q
// (to 2^-94) is within 2^-92 Q + r^2 2.6 2^-64 + 2^-94 and the series left out within r^6/7, so
// W is within 3.7 2^-93 < 2^-91.1, and the product r (1 + W), below 2^127 units of its last
// place, within 2^35.9 of them (normalising doubles them; the test allows 2^39 before that).
constexpr Word Ln2High = {0x000162e42fefa39eULL, 0xf35793c7673007e5ULL};  // ln 2 2^113
constexpr std::uint64_t Ln2Low = 0xed5e81e6864ce531ULL;                   // the next 64 bits
// 1/3, -1/4, 1/5, -1/6 times 2^64, rounded to nearest.
constexpr std::int64_t LogSeries[] = {0x5555555555555555LL, -0x4000000000000000LL, 0x3333333333333333LL,
                                      -0x2aaaaaaaaaaaaaabLL};
constexpr std::uint64_t LogErrorUnitsNearOne = 1ULL << 39;
constexpr std::uint64_t LogErrorUnits = 2048;

struct LogEntry {
  std::uint64_t c;
  Word T;  // T 2^127
};

constexpr LogEntry Reciprocals[256] = {
    {4096, {0x0000000000000000ULL, 0x0000000000000000ULL}},
    {4072, {0x00c09090a2c35aa0ULL, 0x7052e7e4dde874dbULL}},
    {4056, {0x0141929f96832ef8ULL, 0xeaba026d0f7756b7ULL}},
    {4041, {0x01bafb16b74919b0ULL, 0xc03bea97db4b50e6ULL}},
    {4025, {0x023cfb0163f7e822ULL, 0x083435eccd85c5d0ULL}},
    {4010, {0x02b7534bb358072eULL, 0xe138235e2aeb9294ULL}},
    {3995, {0x033220f6c7703c26ULL, 0x11b65c5ccf4842c0ULL}},
    {3979, {0x03b5a0d9404d05efULL, 0x958a91fac1f89a31ULL}},
    {3964, {0x043163e8677eaa62ULL, 0xea74e86ed0fa9953ULL}},
    {3949, {0x04ad9f15c68a74a3ULL, 0x2c5759da5af81400ULL}},
    {3935, {0x0521ff3ae2c9bb6cULL, 0xeb126053a19ccd1eULL}},
    {3920, {0x059f253cb52ed610ULL, 0x413e6505e603617dULL}},
    {3905, {0x061cc612f025647dULL, 0x223a36246c06ed14ULL}},
    {3891, {0x0692768234ffe8e7ULL, 0xe82400b9fdfd545eULL}},
    {3876, {0x07110781bdcaa78fULL, 0xa4c2868aa564c10aULL}},
    {3862, {0x078799c4d81b41a7ULL, 0x96f6283b58064ef3ULL}},
    {3848, {0x07fe9a446ae4c023ULL, 0x260e06a3d1136458ULL}},
    {3834, {0x087609ce2ed30048ULL, 0xfca9d7ae64b3c9d8ULL}},
    {3820, {0x08ede9321e8c8592ULL, 0x6cbbe249fc07ea7aULL}},
    {3806, {0x096639427f2f8e2fULL, 0x432cca89f0f104dbULL}},
    {3792, {0x09defad3e8f73217ULL, 0xa976d3b5b45f6ca1ULL}},
    {3779, {0x0a4f82a668c38fecULL, 0xc2304f7b1d37a885ULL}},
    {3765, {0x0ac9217f821e9b57ULL, 0xeb27317a60d268c3ULL}},
    {3752, {0x0b3a78449b2d3cccULL, 0xa64e9980e04876c5ULL}},
    {3738, {0x0bb4f79635ab46bbULL, 0x18e76d4a9e50a863ULL}},
    {3725, {0x0c27204c95240541ULL, 0xcbaad687d1469f81ULL}},
    {3712, {0x0c99af2eaca4c457ULL, 0x0eaf51f66692844cULL}},
    {3699, {0x0d0ca4f402804187ULL, 0x5164e15d98733b6fULL}},
    {3686, {0x0d8002560d4355f2ULL, 0xe06fe566964f0269ULL}},
    {3673, {0x0df3c8103ab84333ULL, 0x14df6f61b743a8b9ULL}},
    {3660, {0x0e67f6dff709d411ULL, 0x97f3892ad2b9f8aaULL}},
    {3647, {0x0edc8f84b406ff05ULL, 0x840adaf129dcbd38ULL}},
    {3635, {0x0f488eb31dd139e0ULL, 0xe33cc9cc760ffcfeULL}},
    {3622, {0x0fbdf4ff6dfef2faULL, 0x2d4d4c439e814ae7ULL}},
    {3610, {0x102ab352ff25f398ULL, 0xd755a6cabff86310ULL}},
    {3597, {0x10a0ea2164af00d4ULL, 0xb61feb2526053260ULL}},
    {3585, {0x110e6a437247b6acULL, 0xfc7b6653d4a5db1fULL}},
    {3573, {0x117c4862a78dfc87ULL, 0x4e0a5fde1ad2237cULL}},
    {3561, {0x11ea8520e8e6ab05ULL, 0xd9195dd4b9f64242ULL}},
    {3548, {0x12625d1e6ddf56b4ULL, 0xe87b0e13f0a74accULL}},
    {3537, {0x12c81d0a59878ea6ULL, 0x5d94436e548e29ecULL}},
    {3525, {0x133779819ae5e902ULL, 0xc2e786b30bb09516ULL}},
    {3513, {0x13a73730182cdfcbULL, 0x6df69c6f9c3d8ab2ULL}},
    {3501, {0x141756c0220c81c8ULL, 0xd9706a940b9631acULL}},
    {3489, {0x1487d8ddca50664cULL, 0x5e63b816629979a8ULL}},
    {3478, {0x14ef51f6466de41eULL, 0x90e466a992d438d3ULL}},
    {3466, {0x156092e02ba51614ULL, 0x01a26765ec10a06bULL}},
    {3455, {0x15c8bc079d828a6aULL, 0xddc7ca93b18c6c27ULL}},
    {3444, {0x16313a37335d7641ULL, 0x561bc2b25f60f02fULL}},
    {3432, {0x16a399dabbd38365ULL, 0x8ccaf52cd07c7d06ULL}},
    {3421, {0x170ccb9927bcf731ULL, 0x755cb0fb26d2bb12ULL}},
    {3410, {0x177654128f61274bULL, 0xadf268e7bf7b7859ULL}},
    {3399, {0x17e033d66cd24d05ULL, 0x4a8b78d993da517eULL}},
    {3388, {0x184a6b759f512ebfULL, 0xea903cfb830aece4ULL}},
    {3377, {0x18b4fb826ff29312ULL, 0x1a7c2fb622c97921ULL}},
    {3366, {0x191fe49096581b4eULL, 0x79850e18cef72c31ULL}},
    {3355, {0x198b27353d7ce6fcULL, 0xee1806a2da77b381ULL}},
    {3345, {0x19ecf7d8f3142d27ULL, 0xe30cf447921d2da1ULL}},
    {3334, {0x1a58e729348f433eULL, 0xa822a8d850cf0399ULL}},
    {3324, {0x1abb55c31693acd2ULL, 0x9a875993ea8c09c8ULL}},
    {3313, {0x1b27f3ee67421b92ULL, 0x6afe713f52e5f10fULL}},
    {3303, {0x1b8b027fe249de35ULL, 0xa2ce2139380ea974ULL}},
    {3292, {0x1bf851c067555ef8ULL, 0xd9fbd5a9bbe57b2aULL}},
    {3282, {0x1c5c0254bf23a5eaULL, 0xae7b42c75ebb2881ULL}},
    {3272, {0x1cc000c9db3c5254ULL, 0xf4550a00e53ba39aULL}},
    {3262, {0x1d244d99c85673ecULL, 0x032241dbe97fc9b0ULL}},
    {3251, {0x1d92fd2b1383b651ULL, 0xcb53b863fb898eccULL}},
    {3241, {0x1df7f018ce771ffdULL, 0xe4497ec88810e94aULL}},
    {3231, {0x1e5d32e2e9ce86a8ULL, 0x4e09c94fd48f917dULL}},
    {3221, {0x1ec2c60824fbe880ULL, 0x3304e59484229469ULL}},
    {3212, {0x1f1e75fadf9bde75ULL, 0x3689f024c6646508ULL}},
    {3202, {0x1f84a32ead7c3578ULL, 0xe99ecf1b5dda00c8ULL}},
    {3192, {0x1feb2233ea07cd06ULL, 0x378024e2d30fff3aULL}},
    {3182, {0x2051f38e06b83851ULL, 0x858333bffac89915ULL}},
    {3173, {0x20aec397e4be3edcULL, 0x31ce792b7a9bcfb3ULL}},
    {3163, {0x211632cea7424697ULL, 0xf3695b985e25688eULL}},
    {3154, {0x217391c65a32224eULL, 0x89208f9400bd4f12ULL}},
    {3144, {0x21dba0c16f01019bULL, 0x52d8435f53dd349bULL}},
    {3135, {0x22399061d7b36757ULL, 0xac182e58e98ace37ULL}},
    {3125, {0x22a24111ccccd14fULL, 0x0cab18d90552cb39ULL}},
    {3116, {0x2300c31de315be80ULL, 0x1bc9638d4c02f650ULL}},
    {3107, {0x235f8b252e0496d7ULL, 0xd6670fff1b1811f2ULL}},
    {3098, {0x23be998f9e485a1fULL, 0x822afbf1ca5ab249ULL}},
    {3089, {0x241deec60ccda3e1ULL, 0x9a2952dcd4ea1617ULL}},
    {3080, {0x247d8b323d74920dULL, 0xdbae8d6efc37d2c5ULL}},
    {3071, {0x24dd6f3ee1d0d2caULL, 0xf72628992ae6a18cULL}},
    {3062, {0x253d9b579bf4073bULL, 0x3bdc22433e88a35fULL}},
    {3053, {0x259e0fe90142a9ebULL, 0x05768f73d4709dcdULL}},
    {3044, {0x25fecd609d53a896ULL, 0xd5f0c8e8e4a39e80ULL}},
    {3035, {0x265fd42cf4dae1f4ULL, 0x0582d469c8b5aebcULL}},
    {3026, {0x26c124bd889eb929ULL, 0xf344bbd0f149ad36ULL}},
    {3017, {0x2722bf82d878f1b2ULL, 0xcec6c5f270088906ULL}},
    {3009, {0x2779c0a0f59dd186ULL, 0xec8ce9824c202fafULL}},
    {3000, {0x27dbe8c782d07cc1ULL, 0xeb4069e08421cccbULL}},
    {2992, {0x28336847abd18e43ULL, 0x6ec90e09ce4636dfULL}},
    {2983, {0x28961f6b5e9e85f4ULL, 0x39fe1f4a47499875ULL}},
    {2975, {0x28ee1ebed73f4bc3ULL, 0x6d9a8186ba97fc59ULL}},
    {2966, {0x29516682aa56127eULL, 0x3d0dc8d0d2733ac0ULL}},
    {2958, {0x29a9e72112033fafULL, 0x2753e2882d1b0054ULL}},
    {2950, {0x2a02a51b43f2cfacULL, 0x6d29f4d6881dea68ULL}},
    {2941, {0x2a66c496b3946990ULL, 0xfaf0dd94af0ad0baULL}},
    {2933, {0x2ac00610138eb45bULL, 0x530aa3c454d8c7f2ULL}},
    {2925, {0x2b1985f22913e9f7ULL, 0xcfe8139acb44f8f0ULL}},
    {2917, {0x2b73449477acc440ULL, 0x6fb3ae2ebfee4243ULL}},
    {2909, {0x2bcd424f3b76dff9ULL, 0xd8a98f879c2f805cULL}},
    {2901, {0x2c277f7b6b2d40c1ULL, 0xe2c20f024a15336dULL}},
    {2893, {0x2c81fc72ba3804dcULL, 0x536eb37a77562fecULL}},
    {2885, {0x2cdcb98f9ac3676fULL, 0x7a37338daf0faa46ULL}},
    {2877, {0x2d37b72d3fde305aULL, 0x7a34234b0aa0c801ULL}},
    {2869, {0x2d92f5a79f9fb16aULL, 0x8d0df8e115bc197dULL}},
    {2861, {0x2dee755b75557153ULL, 0x861627b3bed855efULL}},
    {2853, {0x2e4a36a643b8a572ULL, 0x65ae69737c2932daULL}},
    {2846, {0x2e9ab5dfacdab835ULL, 0x9ecdfd601171d407ULL}},
    {2838, {0x2ef6f32457a6fb93ULL, 0xec402248fa31b1c3ULL}},
    {2830, {0x2f5373113e33c4bbULL, 0xc8b7d6f150cdf4c2ULL}},
    {2823, {0x2fa499fa772637aaULL, 0xc70c69f976c0c60bULL}},
    {2815, {0x300197e7da398610ULL, 0x514e76bd701919bbULL}},
    {2807, {0x305ed99575d6a4b9ULL, 0x3a9b844d9d83b6c3ULL}},
    {2800, {0x30b0aaeedb97f55bULL, 0xccccdde27564b8a6ULL}},
    {2792, {0x310e6cb064f99dc7ULL, 0x78200eda4e6058b9ULL}},
    {2785, {0x3160aeb5563f8702ULL, 0x13886504149caeceULL}},
    {2778, {0x31b325b91049c910ULL, 0x289529b996879fbaULL}},
    {2770, {0x3211a5d4fb2a230bULL, 0xe1ca277f6b76aa80ULL}},
    {2763, {0x32648f4f9336a517ULL, 0x3c2e9f2b9c60f69dULL}},
    {2756, {0x32b7aea1dc7da52aULL, 0x9f36db762a082dfdULL}},
    {2749, {0x330b0411f29eada6ULL, 0xe081a8de5b6f7268ULL}},
    {2741, {0x336a83c2d0f47e82ULL, 0x06cbe9603e48cdd4ULL}},
    {2734, {0x33be4e1832294f0dULL, 0x2c7e866b3ef8abb5ULL}},
    {2727, {0xdb59436f52660737ULL, 0xc5015524b04e44e0ULL}},
    {2720, {0xdbad7c08610d34bbULL, 0x7af584b14579a169ULL}},
    {2713, {0xdc01ec306200b15bULL, 0x5760a99f69a5bf60ULL}},
    {2706, {0xdc569430d2bb7569ULL, 0x0b9a114f739be620ULL}},
    {2699, {0xdcab7453c2e9a23fULL, 0x1aba9e68ceb602e1ULL}},
    {2692, {0xdd008ce3d5ed4545ULL, 0xd3a513422b17c5afULL}},
    {2685, {0xdd55de2c44682a9bULL, 0x1c9139df513d158dULL}},
    {2678, {0xddab6878ddcad3a8ULL, 0x30a3992c517ff2dbULL}},
    {2672, {0xddf4e80ca36a55ceULL, 0xc0bea96699c60f5aULL}},
    {2665, {0xde4add0792019735ULL, 0xb0cbec7b33816089ULL}},
    {2658, {0xdea10be2927b0cc1ULL, 0xadae9494b3174baaULL}},
    {2651, {0xdef774ebc8f099f2ULL, 0x040cfce1d0ad3d1eULL}},
    {2645, {0xdf41b4595f0d80b6ULL, 0x35e86aedb281f362ULL}},
    {2638, {0xdf988a40b17e3cf4ULL, 0x3eb7a4200d051829ULL}},
    {2631, {0xdfef9b38ec91e780ULL, 0x838640aae201e8e1ULL}},
    {2625, {0xe03a6b4dc1cd3bcaULL, 0x39d9d210f506d357ULL}},
    {2618, {0xe091eacdeace4d4bULL, 0xbd62763a3f2b3d6cULL}},
    {2612, {0xe0dd1a18d0efa2a7ULL, 0x8a0bf20f9d9b83f9ULL}},
    {2605, {0xe135093af188617bULL, 0x2aa77a01b744990aULL}},
    {2599, {0xe18098af764aa590ULL, 0xa77f154b30fa3649ULL}},
    {2592, {0xe1d8f891d50d1a16ULL, 0x1578001e0161eaa2ULL}},
    {2586, {0xe224e9273163ddefULL, 0x2e2097177c85c41fULL}},
    {2580, {0xe27106e50ce2a20bULL, 0xf86c98f071651c4cULL}},
    {2573, {0xe2ca0d9d92af4a5dULL, 0x1ddfdd445609b631ULL}},
    {2567, {0xe3168dec59f31ec4ULL, 0xbccbccc07a199cd8ULL}},
    {2561, {0xe3633c0f64b7ecbcULL, 0x0c87d893e9f0d54dULL}},
    {2554, {0xe3bcec18ab16c320ULL, 0xc59a94150528205dULL}},
    {2548, {0xe409fe44f1bb1e55ULL, 0xae0f21d2abd1554dULL}},
    {2542, {0xe4573ef51b92e68eULL, 0xb088b13da14f5d6fULL}},
    {2536, {0xe4a4ae61704a5b91ULL, 0x76008f98797ec231ULL}},
    {2530, {0xe4f24cc29df008f5ULL, 0xe38aa37ce17a5e0cULL}},
    {2524, {0xe5401a51b9edb47aULL, 0x9caf89ce43bfbc07ULL}},
    {2518, {0xe58e1748420442b2ULL, 0x9bbc14c8bb2133e4ULL}},
    {2512, {0xe5dc43e01d4a9ce6ULL, 0xc8ee4f856673d81cULL}},
    {2506, {0xe62aa0539d2fa334ULL, 0xfe1dade142800167ULL}},
    {2500, {0xe6792cdd7e7f3625ULL, 0x4d915e000312f22cULL}},
    {2494, {0xe6c7e9b8ea6a631eULL, 0xb51d1cec565c0a8eULL}},
    {2488, {0xe716d7217792bf55ULL, 0xa76146959dbfc7e6ULL}},
    {2482, {0xe765f5532b18fd01ULL, 0x095c29638284b58fULL}},
    {2476, {0xe7b5448a79aec6d5ULL, 0x6fa715e8d38fed18ULL}},
    {2470, {0xe804c50448abedfaULL, 0x92304eaba7306f94ULL}},
    {2464, {0xe85476fdef26f6e4ULL, 0x1c94d295f9f7f9b8ULL}},
    {2459, {0xe897069fc0a94a87ULL, 0x84a751467dbae322ULL}},
    {2453, {0xe8e713f9eb39a4e9ULL, 0x7a17b6e6979b0f6cULL}},
    {2447, {0xe93753842cd23373ULL, 0xadfbfb5d736f841bULL}},
    {2441, {0xe987c57d9af465c5ULL, 0x1f716465c22dafcdULL}},
    {2436, {0xe9caf5d75558a84fULL, 0xd51fa71458ccc32cULL}},
    {2430, {0xea1bc4eca42a1d5aULL, 0x6776ce1882fd80acULL}},
    {2424, {0xea6cc72667df7a2cULL, 0xba455515af9d4f8fULL}},
    {2419, {0xeab0704132012ba1ULL, 0x7ea1ecb8f0c4e99dULL}},
    {2413, {0xeb01d0e6b0fa134aULL, 0x18ea507bd8b645f6ULL}},
    {2408, {0xeb45c90c65aa1aa5ULL, 0xd9f90cf262a80826ULL}},
    {2402, {0xeb9788fabd0ec0a2ULL, 0xfc6a843f032f2bd0ULL}},
    {2397, {0xebdbd0e4e2d9c5ecULL, 0xca738e714e5da208ULL}},
    {2391, {0xec2df0fc3c184ee1ULL, 0x472ae22d53a99b9dULL}},
    {2386, {0xec728966e9bcf76bULL, 0x4c38c891f253e46bULL}},
    {2380, {0xecc50a8a88f1b099ULL, 0xae80c6adb858234cULL}},
    {2375, {0xed09f43471858408ULL, 0xff8772ebe1a8d979ULL}},
    {2370, {0xed4f030c4e5d106bULL, 0x839eb4c2b4a5ca56ULL}},
    {2364, {0xeda212f543952e3dULL, 0x58744ddba33840c4ULL}},
    {2359, {0xede774267f9d9d0fULL, 0x94fdbad5e8a99f4aULL}},
    {2354, {0xee2cfb073cad36a2ULL, 0x6fa288212d6819d0ULL}},
    {2348, {0xee809ba70359ef01ULL, 0x4bdb0dc8fdff9a45ULL}},
    {2343, {0xeec676010b8eee43ULL, 0xdaf76838eb1c4c5bULL}},
    {2338, {0xef0c768ecb4ed1acULL, 0xf449eb630ca4913dULL}},
    {2333, {0xef529d7a22679ef3ULL, 0xf3f22669d2d15571ULL}},
    {2328, {0xef98eaed35a691d5ULL, 0xe737028f36ce7a64ULL}},
    {2322, {0xefed7af5920350c3ULL, 0x2900b7f271cfb3e8ULL}},
    {2317, {0xf0341dc28d3261a4ULL, 0x057b4f04b5de41b1ULL}},
    {2312, {0xf07ae79ff74eaccfULL, 0x419b47488a668767ULL}},
    {2307, {0xf0c1d8b91d7cf6d7ULL, 0xf35ccf1aa8a8da04ULL}},
    {2302, {0xf108f139950946d0ULL, 0x394f7fc4662affb8ULL}},
    {2297, {0xf150314d3c078df0ULL, 0x1a2717bfce94fee2ULL}},
    {2292, {0xf197992039f60f59ULL, 0x2579145e7b1d49c1ULL}},
    {2287, {0xf1df28df00618dd6ULL, 0x01ab3e9f3cf2686eULL}},
    {2282, {0xf226e0b64b8b458cULL, 0x1aacedc56aac6ce9ULL}},
    {2277, {0xf26ec0d32310b7adULL, 0x141ec27ee1e4f5a8ULL}},
    {2272, {0xf2b6c962da954e4dULL, 0x7a16eab1e2ad9c33ULL}},
    {2267, {0xf2fefa93126dde9eULL, 0x6fd21f50155867c1ULL}},
    {2262, {0xf3475491b84e0fe0ULL, 0xcd7edcbdadfc0e25ULL}},
    {2257, {0xf38fd78d07f7ad81ULL, 0x40184a2e5a23fa1bULL}},
    {2253, {0xf3c9f791a9aadcfbULL, 0x883dc5389ac322c1ULL}},
    {2248, {0xf412c4c9427699bdULL, 0xddbf9bb282612f75ULL}},
    {2243, {0xf45bbb809e57d18fULL, 0xfd2f8931707dae6dULL}},
    {2238, {0xf4a4dbe7280df985ULL, 0x09bbef49023636daULL}},
    {2233, {0xf4ee262c9bcbbb3bULL, 0x2b44248c608a7e04ULL}},
    {2229, {0xf528e643abde48f6ULL, 0xb6138c51258f8bfcULL}},
    {2224, {0xf5727c607cf3e04bULL, 0x6c38cbcae83753daULL}},
    {2219, {0xf5bc3ce3982ed76fULL, 0xa98bd194ec5d4415ULL}},
    {2215, {0xf5f75bf4771182faULL, 0xf4f162803401ec63ULL}},
    {2210, {0xf6416944ebe7182aULL, 0xa6dffc570d876e46ULL}},
    {2205, {0xf68ba1859fb5631bULL, 0x4bfa6514e6b456ceULL}},
    {2201, {0xf6c720c554665f69ULL, 0x7fe6082718cfc3abULL}},
    {2196, {0xf711a6ce12735dd8ULL, 0x50b0bb3f51cf57f2ULL}},
    {2191, {0xf75c5853a9e8f888ULL, 0x5bfec5fb7aadeda7ULL}},
    {2187, {0xf79838fd294acc11ULL, 0x980aed1a83681848ULL}},
    {2182, {0xf7e3394a4eed58a6ULL, 0xfe5fe67fef29b69aULL}},
    {2178, {0xf81f593c61f33fecULL, 0xc1c0fb0e10dd6051ULL}},
    {2173, {0xf86aa8f7f365972eULL, 0x1e05f798cd279717ULL}},
    {2169, {0xf8a708b8ec34abf7ULL, 0x25bf6c574a44ba9bULL}},
    {2164, {0xf8f2a88bdb7834ccULL, 0xd9501f1df1d38b88ULL}},
    {2160, {0xf92f48a3b9a3904fULL, 0x5cbace09824c8b5bULL}},
    {2155, {0xf97b393915fa5428ULL, 0x75636502fd7064d8ULL}},
    {2151, {0xf9b81a318db14073ULL, 0xb538986853bb3a66ULL}},
    {2147, {0xf9f5182c4656df01ULL, 0xf835b339b7b56e20ULL}},
    {2142, {0xfa417e9b0e125f50ULL, 0xdf14e5afb8c2bae8ULL}},
    {2138, {0xfa7ebe4059c95d20ULL, 0x40ca701b0da0c867ULL}},
    {2133, {0xfacb771cd37dbf22ULL, 0xb432d3c4b51061f2ULL}},
    {2129, {0xfb08f8fab0e7b4fdULL, 0x34b00100dfe60efbULL}},
    {2125, {0xfb46987514c0ae39ULL, 0x1437209747ffd82bULL}},
    {2120, {0xfb93c99db709a00fULL, 0x4d7444dd6240bed6ULL}},
    {2116, {0xfbd1ac20f9a7a262ULL, 0x5bc089e0b23b95adULL}},
    {2112, {0xfc0fac9e30f99ff6ULL, 0x60e07d87086eb029ULL}},
    {2108, {0xfc4dcb3275786783ULL, 0xa69cc1197b556b2cULL}},
    {2103, {0xfc9b9be8cd9f4838ULL, 0x81c90cd1c9a6eb3aULL}},
    {2099, {0xfcd9fe9c2d97e155ULL, 0x61aa6b69ae044a77ULL}},
    {2095, {0xfd187fc6511016d0ULL, 0xf9a742d4e240a3c4ULL}},
    {2091, {0xfd571f85072050caULL, 0xc35e245a31b5b1ffULL}},
    {2087, {0xfd95ddf64ab6f6d3ULL, 0x741732a8bfb556beULL}},
    {2083, {0xfdd4bb3842ee8dabULL, 0x17144f541d2f5a2eULL}},
    {2078, {0xfe237b4e6edc7eb5ULL, 0x7c38b499f6083516ULL}},
    {2074, {0xfe629e5523942734ULL, 0xe6c25ed49651a654ULL}},
    {2070, {0xfea1e08fc1341afbULL, 0x053d12f25b11db88ULL}},
    {2066, {0xfee1421d2e6681a0ULL, 0xffd2370d9764079dULL}},
    {2062, {0xff20c31c7fd389b8ULL, 0x32c9fdfde056c4e2ULL}},
    {2058, {0xff6063acf87cdbb5ULL, 0x2d86d916d7f742a8ULL}},
    {2054, {0xffa023ee0a19f096ULL, 0x5d8a5e6dfb180129ULL}},
    {2048, {0x0000000000000000ULL, 0x0000000000000000ULL}},
};

constexpr LogEntry FineReciprocals[256] = {
    {16842751, {0xff804054f5bb90ffULL, 0x17893d4ff34a526aULL}},
    {16842235, {0xff814154f9baec5bULL, 0x6d54186714409770ULL}},
    {16841719, {0xff82425701c063daULL, 0x3014848ee197d5a4ULL}},
    {16841203, {0xff83435b0dd40fc4ULL, 0x8a8bb322fdacf17cULL}},
    {16840687, {0xff8444611dfe0894ULL, 0x6aea0893defa027eULL}},
    {16840171, {0xff854569324666f4ULL, 0x8456ca4ba89dd524ULL}},
    {16839656, {0xff8645f3c4354163ULL, 0x50d704520b48cc3fULL}},
    {16839140, {0xff8746ffdfd29c88ULL, 0x48e2d3150469a8e8ULL}},
    {16838624, {0xff88480dffa6a45dULL, 0x9f1a7f6195ac3689ULL}},
    {16838108, {0xff89491e23b97251ULL, 0x11994edfb073034fULL}},
    {16837592, {0xff8a4a304c132001ULL, 0x2b17f1a9d9758b42ULL}},
    {16837077, {0xff8b4ac4ed3b9e2eULL, 0x84eb07405bdc3d8fULL}},
    {16836561, {0xff8c4bdb1d3b2bc1ULL, 0xe37a2c13a99313a7ULL}},
    {16836046, {0xff8d4c73c419daabULL, 0x104b9550d6d2c2b7ULL}},
    {16835530, {0xff8e4d8dfbdfa0d3ULL, 0x00cecb56c849a7e3ULL}},
    {16835014, {0xff8f4eaa3814c1a1ULL, 0xeafa5b40a1adf11aULL}},
    {16834499, {0xff904f48e84122d2ULL, 0xaf7d6024b55ae05dULL}},
    {16833983, {0xff9150692c6d081eULL, 0xda6abf6f991c3ca0ULL}},
    {16833468, {0xff92510be2a05869ULL, 0x72909374c56fd9deULL}},
    {16832953, {0xff9351b09b635805ULL, 0xa66e97eb86501aadULL}},
    {16832437, {0xff9452d6eb3deb4aULL, 0x54872dd2ee55410bULL}},
    {16831922, {0xff95537faa384a5cULL, 0xf000e357779cba4aULL}},
    {16831406, {0xff9654aa025a8833ULL, 0x1828f27dd6aeafe4ULL}},
    {16830891, {0xff975556c7ac9637ULL, 0x25cd92dbc330be25ULL}},
    {16830376, {0xff9856058fb6aadeULL, 0x62bb413de377fda6ULL}},
    {16829861, {0xff9956b65a80d696ULL, 0xc2852c9975316804ULL}},
    {16829345, {0xff9a57e8c2932689ULL, 0xbd1d882cbed92367ULL}},
    {16828830, {0xff9b589d93f59cb2ULL, 0x68f77d5e02e191a1ULL}},
    {16828315, {0xff9c59546830605bULL, 0xbad5574f22b565ccULL}},
    {16827800, {0xff9d5a0d3f4b82b5ULL, 0xd906d46332b059c9ULL}},
    {16827285, {0xff9e5ac8194f1521ULL, 0x7450bf727a14ed27ULL}},
    {16826770, {0xff9f5b84f643292fULL, 0xc97261ef728c4336ULL}},
    {16826255, {0xffa05c43d62fd0a2ULL, 0xa2ab054d94d1c0bdULL}},
    {16825740, {0xffa15d04b91d1d6cULL, 0x593f83aaaa29f9d6ULL}},
    {16825225, {0xffa25dc79f1321afULL, 0xd6ffe7bb5a4e92f9ULL}},
    {16824710, {0xffa35e8c8819efc0ULL, 0x97cd1bfbad82cb03ULL}},
    {16824195, {0xffa45f5374399a22ULL, 0xab1ea9243a8e77eaULL}},
    {16823680, {0xffa5601c637a338aULL, 0xb58883e4b86753e1ULL}},
    {16823166, {0xffa66067af63ce7dULL, 0xf58315423198b7f7ULL}},
    {16822651, {0xffa76134a3fe646bULL, 0x84cb5ba2fbebe2a8ULL}},
    {16822136, {0xffa862039bd21e9cULL, 0xdcf4dfece7d8b6d0ULL}},
    {16821621, {0xffa962d496e71088ULL, 0xee16c4a372944118ULL}},
    {16821107, {0xffaa6327eac54b1bULL, 0x59b65bcbe0ec6ba1ULL}},
    {16820592, {0xffab63fceb74bd30ULL, 0x34ff72218410b981ULL}},
    {16820077, {0xffac64d3ef7d9e84ULL, 0x41809d7b8a69f790ULL}},
    {16819563, {0xffad652d4967f488ULL, 0x20a6b48574bd3075ULL}},
    {16819048, {0xffae6608533bbab8ULL, 0xd906254f8b4c64a5ULL}},
    {16818534, {0xffaf6665b10128f7ULL, 0xd89ef02d70926f2dULL}},
    {16818019, {0xffb06744c0c01660ULL, 0x2defd2f27667a6a8ULL}},
    {16817505, {0xffb167a62280cfedULL, 0xc555e5f6dc818a6bULL}},
    {16816990, {0xffb26889384b286cULL, 0xbbc5a1368557a2acULL}},
    {16816476, {0xffb368ee9e2761dfULL, 0xc0a7d7018fea4e04ULL}},
    {16815961, {0xffb469d5ba1d6ad8ULL, 0x87cf159b632c82ccULL}},
    {16815447, {0xffb56a3f24355a4bULL, 0x4676767062fdb6bbULL}},
    {16814933, {0xffb66aaa8ff74de9ULL, 0xe5747c6266f273e1ULL}},
    {16814418, {0xffb76b97b4eb37b5ULL, 0xa543a9829f3fd73dULL}},
    {16813904, {0xffb86c0725193150ULL, 0x026fd1a8f1787195ULL}},
    {16813390, {0xffb96c78970951ebULL, 0x7a8c97337700257eULL}},
    {16812876, {0xffba6cec0ac3a42fULL, 0x73826bd137bfa77fULL}},
    {16812361, {0xffbb6de13bd02f20ULL, 0x76737a7921b9a403ULL}},
    {16811847, {0xffbc6e58b436f4a5ULL, 0x52e366912f5bce45ULL}},
    {16811333, {0xffbd6ed22e8010ecULL, 0x92fe185aefbe9c3fULL}},
    {16810819, {0xffbe6f4daab38f5fULL, 0x16153dea063020e6ULL}},
    {16810305, {0xffbf6fcb28d97b96ULL, 0x1798f783187b56c4ULL}},
    {16809791, {0xffc0704aa8f9e15bULL, 0x309b793e9cbbeae3ULL}},
    {16809277, {0xffc170cc2b1ccca8ULL, 0x5954bbd7a08d2b50ULL}},
    {16808763, {0xffc2714faf4a49a7ULL, 0xeaa63ca740015183ULL}},
    {16808249, {0xffc371d5358a64b4ULL, 0x9f9ecccd82d86021ULL}},
    {16807735, {0xffc4725cbde52a59ULL, 0x96fe6f885677cb73ULL}},
    {16807222, {0xffc5726682e29e9cULL, 0x9193d3a809dc4bc2ULL}},
    {16806708, {0xffc672f20e8ac887ULL, 0xeb2db343a05456afULL}},
    {16806194, {0xffc7737f9c65bfccULL, 0xb11756a657ee5787ULL}},
    {16805680, {0xffc8740f2c7b91b7ULL, 0x87e044486001aaccULL}},
    {16805166, {0xffc974a0bed44bc5ULL, 0x7f5caee7bde76c0bULL}},
    {16804653, {0xffca74b488f7d5e7ULL, 0x20a82caef2370f06ULL}},
    {16804139, {0xffcb754a1eee5e1bULL, 0x409cbae6e663830eULL}},
    {16803626, {0xffcc7561eabff330ULL, 0x4ab2bbaeeec1e240ULL}},
    {16803112, {0xffcd75fb847471b9ULL, 0x8e1e699c4c28ad6cULL}},
    {16802598, {0xffce7697209416a7ULL, 0x3e9ec0314d06e183ULL}},
    {16802085, {0xffcf76b4efa6c93dULL, 0x8e656db4033f67bfULL}},
    {16801571, {0xffd077548fb4a79dULL, 0xd81c15bd0998b3c9ULL}},
    {16801058, {0xffd1777660c5aa48ULL, 0xaaab05ea7bca6d6aULL}},
    {16800544, {0xffd2781a04e1ee10ULL, 0xfcc740a5af68a1caULL}},
    {16800031, {0xffd3783fd8115d80ULL, 0xbf35266844eaa5f0ULL}},
    {16799518, {0xffd47867abdc26aaULL, 0x8c69558c6b608e99ULL}},
    {16799004, {0xffd5791155ca2e90ULL, 0x4bb16a789fe5d38cULL}},
    {16798491, {0xffd6793d2be38e5aULL, 0x6e18a1f95eca75e0ULL}},
    {16797978, {0xffd7796b02b057a4ULL, 0x62caa424a9225939ULL}},
    {16797464, {0xffd87a1ab2b88306ULL, 0x7012ee4d847ca227ULL}},
    {16796951, {0xffd97a4c8c041030ULL, 0x4d3f8fbfadfc1e40ULL}},
    {16796438, {0xffda7a80661b1851ULL, 0x835be5e2f6b7eacdULL}},
    {16795925, {0xffdb7ab64105a047ULL, 0x80d8c843c24a6b7eULL}},
    {16795412, {0xffdc7aee1ccbad1fULL, 0xdbd738e5a97f04a9ULL}},
    {16794899, {0xffdd7b27f9754418ULL, 0x53a9f8d791ea5155ULL}},
    {16794386, {0xffde7b63d70a6a9eULL, 0xd2572bdb18f936c3ULL}},
    {16793873, {0xffdf7ba1b5932651ULL, 0x6e1a0b20078a77a0ULL}},
    {16793360, {0xffe07be195177cfeULL, 0x6ae4a71483305275ULL}},
    {16792847, {0xffe17c23759f74a4ULL, 0x3be1b84ab241a134ULL}},
    {16792334, {0xffe27c6757331371ULL, 0x84f67f7487ebda61ULL}},
    {16791821, {0xffe37cad39da5fc5ULL, 0x1c44b4766d813ff0ULL}},
    {16791308, {0xffe47cf51d9d602eULL, 0x0bac84917e4873c8ULL}},
    {16790795, {0xffe57d3f02841b6bULL, 0x924e9fa60b1c969cULL}},
    {16790282, {0xffe67d8ae896986dULL, 0x260e548f1b370318ULL}},
    {16789769, {0xffe77dd8cfdcde52ULL, 0x7513bc979f85a513ULL}},
    {16789257, {0xffe87da8cfdee326ULL, 0xd36d3c74b7a443d0ULL}},
    {16788744, {0xffe97dfab8a4ad18ULL, 0xb7fe78e4dddfe94eULL}},
    {16788231, {0xffea7e4ea2b6526cULL, 0xdfb93b6cb7d3aa12ULL}},
    {16787719, {0xffeb7e24a29bd200ULL, 0x02a821e1e436b3a3ULL}},
    {16787206, {0xffec7e7c8e5d160bULL, 0xbd287ed1313f7ec8ULL}},
    {16786693, {0xffed7ed67b8249a9ULL, 0xe307a69997fa6434ULL}},
    {16786181, {0xffee7eb27b935081ULL, 0xee9476878072bf6aULL}},
    {16785668, {0xffef7f106a9840e5ULL, 0x35568506504a4ecfULL}},
    {16785156, {0xfff07ef06a99160aULL, 0x8eaca28c3c2830abULL}},
    {16784643, {0xfff17f525b9dd671ULL, 0xea70603bee580a98ULL}},
    {16784131, {0xfff27f365bae7de2ULL, 0x13f0991f3d0d29e4ULL}},
    {16783618, {0xfff37f9c4ed3230dULL, 0x98e0fabeb1278f27ULL}},
    {16783106, {0xfff47f844f13a246ULL, 0x80cd15e6c0734770ULL}},
    {16782594, {0xfff57f6e4ef825eaULL, 0x12f0e8aacd04db63ULL}},
    {16782081, {0xfff67fda4508a077ULL, 0x93bccbf94898bdb4ULL}},
    {16781569, {0xfff77fc8454d02f1ULL, 0xb8b29bf9c778c349ULL}},
    {16781057, {0xfff87fb8454d6836ULL, 0x0f083019ecdc0c0aULL}},
    {16780545, {0xfff97faa4511cec4ULL, 0xaeee79139e6b23c9ULL}},
    {16780032, {0xfffa801e3f2231d0ULL, 0x8bc3d1a9e9ee0329ULL}},
    {16779520, {0xfffb80143f868334ULL, 0x08efc693233a0133ULL}},
    {16779008, {0xfffc800c3fc6d681ULL, 0x6ec4c86d51b476c1ULL}},
    {16778496, {0xfffd80063feb2af8ULL, 0xc9722fc0aa3403efULL}},
    {16777984, {0xfffe80023ffb800aULL, 0x1fe7b36ff296fdf2ULL}},
    {16777216, {0x0000000000000000ULL, 0x0000000000000000ULL}},
    {16777216, {0x0000000000000000ULL, 0x0000000000000000ULL}},
    {16776448, {0x000180024004800aULL, 0x20184d098d690542ULL}},
    {16775936, {0x000280064014d5a3ULL, 0x768dda6b80776578ULL}},
    {16775424, {0x0003800c40392bd6ULL, 0xd13b842ad90132c1ULL}},
    {16774912, {0x0004801440798334ULL, 0x3711936a5d1819b5ULL}},
    {16774400, {0x0005801e40dddc7bULL, 0xb440afb2425582eeULL}},
    {16773889, {0x00067faa3aee241fULL, 0x9156670af841daabULL}},
    {16773377, {0x00077fb83ab2683aULL, 0x314b31560f7ad108ULL}},
    {16772865, {0x00087fc83ab2ad9eULL, 0x87a0b040ff28e474ULL}},
    {16772353, {0x00097fda3af6f5ccULL, 0xac85f285a413b1d2ULL}},
    {16771842, {0x000a7f6e31072602ULL, 0x2fa527f905a80846ULL}},
    {16771330, {0x000b7f8430eb4d01ULL, 0xc1dc76f5049aaca1ULL}},
    {16770818, {0x000c7f9c312b786aULL, 0xa99b7a4eafec1700ULL}},
    {16770307, {0x000d7f36244f7e1aULL, 0x350656b623310062ULL}},
    {16769795, {0x000e7f52245f8142ULL, 0x5e7163821bf7823eULL}},
    {16769284, {0x000f7ef015636bd5ULL, 0xc6890dd6fef06974ULL}},
    {16768772, {0x00107f101563413bULL, 0x1fde810234246145ULL}},
    {16768261, {0x00117eb20466fbf2ULL, 0x7af83cf6c250c38fULL}},
    {16767749, {0x00127ed604769f92ULL, 0x865774502979740fULL}},
    {16767238, {0x00137e7bf19a172cULL, 0xcad4db5402ce43adULL}},
    {16766727, {0x00147e23dd597e88ULL, 0xaf01441d0c5a18aeULL}},
    {16766215, {0x00157e4ddd3ca93fULL, 0xd27025f4bea28ad3ULL}},
    {16765704, {0x00167df9c74baf6cULL, 0x32a3e3c31937fdeaULL}},
    {16765193, {0x00177da7b00e912aULL, 0x5ef1ed2314d2edafULL}},
    {16764681, {0x00187dd7b00d365eULL, 0xbd492e7131cb56d4ULL}},
    {16764170, {0x00197d89974f9c38ULL, 0x67265413c235ca99ULL}},
    {16763659, {0x001a7d3d7d5dcb22ULL, 0x695af61327f6e8a5ULL}},
    {16763148, {0x001b7cf3623fbbfcULL, 0x741f67194c37388bULL}},
    {16762637, {0x001c7cab45fd67d5ULL, 0xff70da20d65d1a83ULL}},
    {16762126, {0x001d7c65289ec7eeULL, 0x4c8f37eb57900488ULL}},
    {16761615, {0x001e7c210a2bd5b4ULL, 0x677b035dd4d460deULL}},
    {16761103, {0x001f7c5f0a2c895eULL, 0x8fd64347de9b6de6ULL}},
    {16760592, {0x00207c1eeaa8df5cULL, 0x8dd62be1a0105525ULL}},
    {16760082, {0x00217b60a8a8d23dULL, 0x03b2798dfcbc6782ULL}},
    {16759571, {0x00227b24863458ccULL, 0xd91e9e9dda34fef8ULL}},
    {16759060, {0x00237aea62d36f02ULL, 0xcdde13df436a8305ULL}},
    {16758549, {0x00247ab23e8e0f6cULL, 0xcdcbf75fe8ed2989ULL}},
    {16758038, {0x00257a7c196c34c8ULL, 0x99f6e145af59e2a8ULL}},
    {16757527, {0x00267a47f375da03ULL, 0xca1f3f774fb0592bULL}},
    {16757016, {0x00277a15ccb2fa3bULL, 0xce35c0319f315afaULL}},
    {16756506, {0x002879657cab8442ULL, 0xbe129f8edff8a289ULL}},
    {16755995, {0x00297937536768c3ULL, 0x72ca69a9def52595ULL}},
    {16755484, {0x002a790b296eb6b8ULL, 0x88f192e38a2bf601ULL}},
    {16754974, {0x002b7860d3496680ULL, 0xd8bf9edcf56c3078ULL}},
    {16754463, {0x002c7838a6ff4b5eULL, 0x4b10c6e2509a09a8ULL}},
    {16753952, {0x002d78127a1889d5ULL, 0xebf43b59dfff2310ULL}},
    {16753442, {0x002e776e1e1cffdeULL, 0xc1de6526d1eb2651ULL}},
    {16752931, {0x002f774bef14ab3aULL, 0x3a6baed495ff608fULL}},
    {16752421, {0x003076ab8f078864ULL, 0xa4ccc6f49b3b69f5ULL}},
    {16751910, {0x0031768d5dfd83d4ULL, 0x727d8947810d9d04ULL}},
    {16751400, {0x003275f0f9fe9c16ULL, 0x06bafc184a98220bULL}},
    {16750889, {0x003375d6c712cc48ULL, 0xc6560e94ebf37d46ULL}},
    {16750379, {0x0034753e5f41f514ULL, 0x8599dd1c2bf54a16ULL}},
    {16749869, {0x003574a7f5142cfbULL, 0xc493d854f9f53b70ULL}},
    {16749358, {0x00367493bf11507dULL, 0x7a14d524b408e50eULL}},
    {16748848, {0x00377401514157e8ULL, 0xb7afb6fd1b164644ULL}},
    {16748338, {0x00387370e12c48c6ULL, 0x51295e542a95c1d9ULL}},
    {16747828, {0x003972e26eda1593ULL, 0x6716ec33bc81b114ULL}},
    {16747317, {0x003a72d634d2a13bULL, 0xbefacf0eaa42af17ULL}},
    {16746807, {0x003b724bbf1de967ULL, 0x4886674f2ba2ed06ULL}},
    {16746297, {0x003c71c34743ea14ULL, 0xc2425653fdc04d55ULL}},
    {16745787, {0x003d713ccd4c967fULL, 0xc0a57d31b4896f1aULL}},
    {16745277, {0x003e70b8513fe213ULL, 0x72dc9a5f14d2f8dcULL}},
    {16744767, {0x003f7035d325c06aULL, 0xa4465d43e6829980ULL}},
    {16744257, {0x00406fb55306254fULL, 0xbdef8899167e5662ULL}},
    {16743747, {0x00416f36d0e904bcULL, 0xc80f239ad9d80519ULL}},
    {16743237, {0x00426eba4cd652dbULL, 0x6b82ba0d83b67f76ULL}},
    {16742727, {0x00436e3fc6d60404ULL, 0xf34aab15bf87d06fULL}},
    {16742217, {0x00446dc73ef00cc2ULL, 0x4e0686e4e1114a01ULL}},
    {16741707, {0x00456d50b52c61ccULL, 0x0f717b39fbfc2585ULL}},
    {16741197, {0x00466cdc2992f80aULL, 0x71deceb874870247ULL}},
    {16740688, {0x00476be954abaa3aULL, 0xe7560488b4e879b2ULL}},
    {16740178, {0x00486b78c47e8328ULL, 0x870da8cd2d095b18ULL}},
    {16739668, {0x00496b0a32937922ULL, 0xa6e8f3bb8693d6f5ULL}},
    {16739159, {0x004a6a1d54727e7aULL, 0x62c163490e5e6aa9ULL}},
    {16738649, {0x004b69b2be236485ULL, 0xa5320b3c79385eb1ULL}},
    {16738139, {0x004c694a262e4521ULL, 0xc837823530dfc48eULL}},
    {16737630, {0x004d68633f1b0648ULL, 0xffe26ce337a061e9ULL}},
    {16737120, {0x004e67fea2f187b0ULL, 0x7e5b74c6aa6b8a74ULL}},
    {16736611, {0x004f671bb5b9e0efULL, 0x77570ea5ce82f067ULL}},
    {16736101, {0x005066bb157bcd7bULL, 0x701ea86de619ef62ULL}},
    {16735592, {0x005165dc223f79f4ULL, 0x0e5cab3c84091966ULL}},
    {16735082, {0x0052657f7e0c9d7aULL, 0x32d1d7c8dbce2c2dULL}},
    {16734573, {0x005364a484eb59caULL, 0x3996fdbf9ca66c60ULL}},
    {16734063, {0x0054644bdce3819cULL, 0xe557b321fc332bc4ULL}},
    {16733554, {0x00556374ddfd0bdeULL, 0x0eebaf2383671645ULL}},
    {16733045, {0x0056629fdbbff9a0ULL, 0xbf09cd18a00a6a3bULL}},
    {16732535, {0x0057624d2db41e94ULL, 0x74f0f5ebcf56d19fULL}},
    {16732026, {0x0058617c25e1763aULL, 0x63a3686f563a8249ULL}},
    {16731517, {0x005960ad1acffa35ULL, 0x6c00407a2bfb439fULL}},
    {16731008, {0x005a5fe00c87972cULL, 0x331575c343cf5ad6ULL}},
    {16730498, {0x005b5f95569033cbULL, 0x9fe77c7ef8c0686eULL}},
    {16729989, {0x005c5ecc42f1b7c6ULL, 0xaab6b67d7c95d8e9ULL}},
    {16729480, {0x005d5e052c341fcaULL, 0x6fb4e39852fc9fd5ULL}},
    {16728971, {0x005e5d40125f593bULL, 0x4d68959b43269140ULL}},
    {16728462, {0x005f5c7cf57b51adULL, 0x0e7242c8c9743c33ULL}},
    {16727953, {0x00605bbbd58ff6e2ULL, 0xeb068875f374805bULL}},
    {16727444, {0x00615afcb2a536cfULL, 0x8a687c61cdc9f024ULL}},
    {16726935, {0x00625a3f8cc2ff95ULL, 0x04640cc9143e3624ULL}},
    {16726426, {0x0063598463f13f84ULL, 0xe2c86f36d455519eULL}},
    {16725917, {0x006458cb3837e520ULL, 0x22e29e12b2bc1b55ULL}},
    {16725408, {0x00655814099edf17ULL, 0x36f7e4ed83f7221aULL}},
    {16724900, {0x006656de71ae0931ULL, 0x894aa029a5a5bf26ULL}},
    {16724391, {0x0067562b3c6d5e74ULL, 0x2c92aae6c6c04306ULL}},
    {16723882, {0x0068557a0464d143ULL, 0x1f80a59f65bbff67ULL}},
    {16723373, {0x006954cac99c510cULL, 0x9f241ffa565a4c59ULL}},
    {16722865, {0x006a539d219bba4bULL, 0xc64277a715d24c10ULL}},
    {16722356, {0x006b52f1e06af8e2ULL, 0x92444b51787a9275ULL}},
    {16721847, {0x006c52489c920fddULL, 0x8b04b86a4acc5f10ULL}},
    {16721339, {0x006d5120e898d295ULL, 0xfc9f01168e58cb0bULL}},
    {16720830, {0x006e507b9e8734e4ULL, 0x5d3316381af186a9ULL}},
    {16720322, {0x006f4f57e2653068ULL, 0x1cfe2f04ad95577bULL}},
    {16719813, {0x00704eb6923a903fULL, 0x13f327f7a0965753ULL}},
    {16719305, {0x00714d96ce0f678fULL, 0x72c0f794b54a0489ULL}},
    {16718796, {0x00724cf977eb789fULL, 0x3ff375690e0110e2ULL}},
    {16718288, {0x00734bddabd6d037ULL, 0xed06f445bbb1c0a8ULL}},
    {16717779, {0x00744b444fd947abULL, 0xf93fef4cf3aee854ULL}},
    {16717271, {0x00754a2c7bfac583ULL, 0x19df24287fb33d12ULL}},
    {16716763, {0x00764916a3c34a98ULL, 0x167552cae0db7b62ULL}},
    {16716254, {0x007748833ebaa588ULL, 0x557a8705bb6086f6ULL}},
    {16715746, {0x007847715ee8c896ULL, 0xb7cfab7292d79056ULL}},
    {16715238, {0x007946617ad5a99bULL, 0xa80c13fe7ccc74e3ULL}},
    {16714730, {0x007a455392892f34ULL, 0xcd66930b2f846898ULL}},
    {16714221, {0x007b44c8218b3612ULL, 0x0ca3ca69162e66d3ULL}},
    {16713713, {0x007c43be31e3a677ULL, 0x7c26c4b5688edeb0ULL}},
    {16713205, {0x007d42b63e1a7460ULL, 0xf977944c29052956ULL}},
    {16712697, {0x007e41b046378729ULL, 0x24bf575e4c999884ULL}},
    {16712189, {0x007f40ac4a42c659ULL, 0xda1ddcc837698045ULL}},
};

}  // namespace

Wide ExpKernel(const ExtendedBits& b) {
  const int shift = static_cast<int>(b.Field()) - Bias + 49;  // x 2^112 = significand 2^shift
  const Signed128 magnitude = shift >= 0 ? static_cast<Signed128>(b.significand) << shift
                                         : static_cast<Signed128>(b.significand >> -shift);
  const Signed128 fixedX = b.Negative() ? -magnitude : magnitude;
  // k = x 16384/ln 2 rounded, from x to 48 fraction bits and 16384/ln 2 to 47: off by one at most
  // where that product lies within 2^-40 of a half, which leaves |r| < 2^-15.5.
  const Signed128 scaled =
      static_cast<Signed128>(static_cast<std::int64_t>(fixedX >> 64)) * InverseLn2Over16384;
  const std::int64_t k = static_cast<std::int64_t>((scaled + (static_cast<Signed128>(1) << 94)) >> 95);
  const Signed128 r112 =
      fixedX - k * Signed(Ln2Over16384High) - ((k * static_cast<Signed128>(Ln2Over16384Low)) >> 64);
  const Signed128 r = r112 << 15;                               // 2^-127 units
  const std::int64_t r78 = static_cast<std::int64_t>(r >> 49);  // 2^-78 units
  const std::int64_t s =
      static_cast<std::int64_t>((static_cast<Signed128>(r78) * r78) >> 62);  // r^2, 2^-94 units
  const std::int64_t c = static_cast<std::int64_t>((static_cast<Signed128>(r78) * s) >> 64);  // r^3, 2^-108
  const std::int64_t q =
      ExpSeries[0] + static_cast<std::int64_t>((static_cast<Signed128>(r78) * ExpSeries[1]) >> 78) +
      static_cast<std::int64_t>((static_cast<Signed128>(s) * ExpSeries[2]) >> 94);  // 2^-64 units
  const std::int64_t tail =
      s + (static_cast<std::int64_t>((static_cast<Signed128>(c) * q) >> 64) >> 13);  // 2^-95
  const Unsigned128 expR = (static_cast<Unsigned128>(1) << 127) +
                           static_cast<Unsigned128>(r + (static_cast<Signed128>(tail) << 32));
  const Unsigned128 table =
      MultiplyHighUnsigned(Unsigned(CoarsePowers[(k >> 7) & 127]), Unsigned(FinePowers[k & 127])) << 1;
  const Unsigned128 product = MultiplyHighUnsigned(table, expR);  // 2^-126 units
  return Normalised(product, static_cast<int>(k >> 14) - 126, false, ExpErrorUnits);
}

Wide LogKernel(ExtendedBits b) {
  int e = static_cast<int>(b.Field()) - Bias;
  if (b.Field() == 0) {  // a denormal: 2^-16382 times a significand below 1
    const int shift = __builtin_clzll(b.significand);
    b.significand <<= shift;
    e = 1 - Bias - shift;
  }
  const int i = static_cast<int>((b.significand >> 55) & 0xff);
  const LogEntry& first = Reciprocals[i];
  e += i >= 128 ? 1 : 0;
  const Signed128 one75 = static_cast<Signed128>(1) << 75;
  const Signed128 s75 = static_cast<Signed128>(static_cast<Unsigned128>(b.significand) * first.c) - one75;
  const int j = static_cast<int>(s75 >> 60) + 128;
  const LogEntry& second = FineReciprocals[j];
  const Signed128 r99 = (one75 + s75) * static_cast<Signed128>(second.c) - (static_cast<Signed128>(1) << 99);
  const Signed128 r = r99 << 28;  // 2^-127 units
  const Signed128 square = MultiplyHigh(r, r);
  const std::int64_t r78 = static_cast<std::int64_t>(r >> 49);       // 2^-78 units
  const std::int64_t s92 = static_cast<std::int64_t>(square >> 35);  // r^2, 2^-92 units
  const std::int64_t inner =
      LogSeries[2] + static_cast<std::int64_t>((static_cast<Signed128>(r78) * LogSeries[3]) >> 78);
  const std::int64_t q =
      LogSeries[0] + static_cast<std::int64_t>((static_cast<Signed128>(r78) * LogSeries[1]) >> 78) +
      static_cast<std::int64_t>((static_cast<Signed128>(s92) * inner) >> 92);  // Q, 2^-64 units
  if (e == 0 && (i == 0 || i == 255) && (j == 127 || j == 128)) {
    const Signed128 w = (((static_cast<Signed128>(s92) * q) >> 62) << 33) - (r >> 1);
    // r (1 + w) with |r| = |r99| 2^-99 normalised to a 128-bit magnitude
    const Unsigned128 magnitude = static_cast<Unsigned128>(r99 < 0 ? -r99 : r99);
    const int shift = LeadingZeros(magnitude);
    const Unsigned128 onePlusW = (static_cast<Unsigned128>(1) << 127) + static_cast<Unsigned128>(w);
    const Unsigned128 product =
        MultiplyHighUnsigned(magnitude << shift, onePlusW);  // |r99| 2^shift (1 + w) / 2
    return Normalised(product, -99 - shift + 1, r99 < 0, LogErrorUnitsNearOne);
  }
  const std::int64_t c = static_cast<std::int64_t>((static_cast<Signed128>(r78) * s92) >> 64);  // r^3, 2^-106
  const Signed128 lnOnePlusR = r - (square >> 1) + (((static_cast<Signed128>(c) * q) >> 64) << 21);
  const Signed128 eReal = e;
  const Signed128 sum = eReal * Signed(Ln2High) + ((eReal * static_cast<Signed128>(Ln2Low)) >> 64) +
                        (Signed(first.T) >> 14) + (Signed(second.T) >> 14) + (lnOnePlusR >> 14);
  const bool negative = sum < 0;
  return Normalised(static_cast<Unsigned128>(negative ? -sum : sum), -113, negative, LogErrorUnits);
}

}  // namespace velmora::math

namespace velmora {

namespace {

// Beyond these, exp overflows (ln of the largest real is 11356.52) or rounds to +0 (ln 2^-16446
// = -11399.50); below LeastNormalExp the result may be subnormal, and MPFR rounds it.
constexpr long double OverflowingExp = 11357.3L;
constexpr long double VanishingExp = -11400.0L;
constexpr long double LeastNormalExp = -11355.0L;
volatile long double Huge = LDBL_MAX;
volatile long double Tiny = LDBL_MIN;
volatile long double Zero = 0.0L;

// The argument of Exp and Log is read only through its bits, so that it is taken from where the
// caller stored it instead of being copied through the FPU first; the cases off the fast path
// rebuild it.
long double ExpElsewhere(math::ExtendedBits b) {
  const long double x = math::FromBits(b.significand, b.signAndExponent);
  if (b.NotFinite()) {
    if (b.Infinite()) return b.Negative() ? 0.0L : x;
    return x + x;
  }
  if (b.Field() < math::Bias - 66) return 1.0L + x;  // 1 rounded, 1 + x exactly for x = 0
  if (x > OverflowingExp) return Huge * Huge;
  if (x < VanishingExp) return Tiny * Tiny;
  long double result = 0.0L;
  if (x < LeastNormalExp || !math::RoundsDecidedly(math::ExpKernel(b), result)) return math::MpfrExp(x);
  return std::isinf(result) ? Huge * Huge : result;  // the rounded result overflows
}

long double LogElsewhere(math::ExtendedBits b) {
  const long double x = math::FromBits(b.significand, b.signAndExponent);
  if (b.NotFinite() && !(b.Infinite() && !b.Negative())) return b.Infinite() ? x - x : x + x;
  if (b.Field() == 0 && b.significand == 0) return -1.0L / Zero;
  if (b.Negative()) return (x - x) / (x - x);
  if (b.Infinite()) return x;
  long double result = 0.0L;
  if (math::RoundsDecidedly(math::LogKernel(b), result)) return result;  // a denormal
  return math::MpfrLog(x);
}

}  // namespace

long double Exp(long double x) {
  const math::ExtendedBits b = math::BitsOf(x);
  long double result = 0.0L;
  if (b.Field() >= math::Bias - 66 && b.Field() < math::Bias + 13) {  // 2^-66 <= |x| < 8192
    if (math::RoundsDecidedly(math::ExpKernel(b), result)) return result;
    return math::MpfrExp(math::FromBits(b.significand, b.signAndExponent));
  }
  return ExpElsewhere(b);
}

long double Log(long double x) {
  const math::ExtendedBits b = math::BitsOf(x);
  long double result = 0.0L;
  if (!b.Negative() && b.Field() != 0 && !b.NotFinite()) {  // a positive normal number
    if (b.Field() == math::Bias && b.significand == math::IntegerBit) return 0.0L;  // ln 1
    if (math::RoundsDecidedly(math::LogKernel(b), result)) return result;
    return math::MpfrLog(math::FromBits(b.significand, b.signAndExponent));
  }
  return LogElsewhere(b);
}

}  // namespace velmora

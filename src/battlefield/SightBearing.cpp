#include "battlefield/SightBearing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace
{
// atan(k / 64) for k = 0 to 64, each to the nearest double.
constexpr double kAtanOf64ths[65] = {
    0x0.0p+0, 0x1.fff555bbb729bp-7, 0x1.ffd55bba97625p-6,
    0x1.7fb818430da2ap-5, 0x1.ff55bb72cfdeap-5, 0x1.3f59f0e7c559dp-4,
    0x1.7ee182602f10fp-4, 0x1.be39ebe6f07c3p-4, 0x1.fd5ba9aac2f6ep-4,
    0x1.1e1fafb043727p-3, 0x1.3d6eee8c6626cp-3, 0x1.5c9811e3ec26ap-3,
    0x1.7b97b4bce5b02p-3, 0x1.9a6a8e96c8626p-3, 0x1.b90d7529260a2p-3,
    0x1.d77d5df205736p-3, 0x1.f5b75f92c80ddp-3, 0x1.09dc597d86362p-2,
    0x1.18bf5a30bf178p-2, 0x1.278372057ef46p-2, 0x1.362773707ebccp-2,
    0x1.44aa436c2af0ap-2, 0x1.530ad9951cd4ap-2, 0x1.614840309cfe2p-2,
    0x1.6f61941e4def1p-2, 0x1.7d5604b63b3f7p-2, 0x1.8b24d394a1b25p-2,
    0x1.98cd5454d6b18p-2, 0x1.a64eec3cc23fdp-2, 0x1.b3a911da65c6cp-2,
    0x1.c0db4c94ec9f0p-2, 0x1.cde53432c1351p-2, 0x1.dac670561bb4fp-2,
    0x1.e77eb7f175a34p-2, 0x1.f40dd0b541418p-2, 0x1.0039c73c1a40cp-1,
    0x1.0657e94db30d0p-1, 0x1.0c6145b5b43dap-1, 0x1.1255d9bfbd2a9p-1,
    0x1.1835a88be7c13p-1, 0x1.1e00babdefeb4p-1, 0x1.23b71e2cc9e6ap-1,
    0x1.2958e59308e31p-1, 0x1.2ee628406cbcap-1, 0x1.345f01cce37bbp-1,
    0x1.39c391cd4171ap-1, 0x1.3f13fb89e96f4p-1, 0x1.445065b795b56p-1,
    0x1.4978fa3269ee1p-1, 0x1.4e8de5bb6ec04p-1, 0x1.538f57b89061fp-1,
    0x1.587d81f732fbbp-1, 0x1.5d58987169b18p-1, 0x1.6220d115d7b8ep-1,
    0x1.66d663923e087p-1, 0x1.6b798920b3d99p-1, 0x1.700a7c5784634p-1,
    0x1.748978fba8e0fp-1, 0x1.78f6bbd5d315ep-1, 0x1.7d528289fa093p-1,
    0x1.819d0b7158a4dp-1, 0x1.85d69576cc2c5p-1, 0x1.89ff5ff57f1f8p-1,
    0x1.8e17aa99cc05ep-1, 0x1.921fb54442d18p-1,
};
// atan(c + t) = atan(c) + t (a1 + a2 t + ... + a7 t^6) about c = k / 64,
// k = 0 to 64: a1 to a7, each to the nearest double.
constexpr double kAtanSeries[65][7] = {
    {0x1.0000000000000p+0, 0x0.0p+0, -0x1.5555555555555p-2, 0x0.0p+0, 0x1.999999999999ap-3, 0x0.0p+0, -0x1.2492492492492p-3},
    {0x1.ffe001ffe0020p-1, -0x1.ffc005ff800a0p-7, -0x1.54d56953003c0p-2, 0x1.ff601bfc406dfp-7, 0x1.981a09849cb13p-3, -0x1.fed5a944d7f05p-7, -0x1.229338e29faefp-3},
    {0x1.ff801ff801ff8p-1, -0x1.ff005fe009fd0p-6, -0x1.535694c03bea0p-2, 0x1.fd81bf106dd29p-6, 0x1.93a0945cb009fp-3, -0x1.fb5a9137ef3f6p-6, -0x1.1ca138b1f15e5p-3},
    {0x1.fee0a1a513254p-1, -0x1.7e516b6f5fb61p-5, -0x1.50dba2b652209p-2, 0x1.7bce9d05eab95p-5, 0x1.8c3cce1b89dc7p-3, -0x1.7833cbf47e098p-5, -0x1.12dd7e8827ec8p-3},
    {0x1.fe01fe01fe020p-1, -0x1.fc05f809f40dfp-5, -0x1.4d69303ba878bp-2, 0x1.f61bc46d4b167p-5, 0x1.82084cab634d0p-3, -0x1.eda84feb05beap-5, -0x1.057e3669247d6p-3},
    {0x1.fce4da6ab93e9p-1, -0x1.3c2114d22b635p-4, -0x1.49059c4d74033p-2, 0x1.36662c0896a7cp-4, 0x1.75261a13a97a2p-3, -0x1.2e4315fdd1509p-4, -0x1.e99996e52db32p-4},
    {0x1.fb8a096acfaccp-1, -0x1.7956846635c89p-4, -0x1.43b8f2037b997p-2, 0x1.6f8857900c4eep-4, 0x1.65c1f4409ba0ep-3, -0x1.61b651d176e0cp-4, -0x1.c24738ad65152p-4},
    {0x1.f9f2893bb9192p-1, -0x1.b578772759741p-4, -0x1.3d8ccd45bbe91p-2, 0x1.a61404fa31d26p-4, 0x1.540f60668fd66p-3, -0x1.9092dcb2f6e8fp-4, -0x1.95d668d902073p-4},
    {0x1.f81f81f81f820p-1, -0x1.f05e09d0dc11bp-4, -0x1.368c3aa76e1d7p-2, 0x1.d9b16b391c2e3p-4, 0x1.4048994488c86p-3, -0x1.ba55da98401c8p-4, -0x1.652e4e5127e64p-4},
    {0x1.f612438a14f5ep-1, -0x1.14f0459d3fb7cp-3, -0x1.2ec3931219b34p-2, 0x1.0509268736312p-3, 0x1.2aad607eca5ecp-3, -0x1.de969e19fe31cp-4, -0x1.31455db6b9127p-4},
    {0x1.f3cc435b0713cp-1, -0x1.30eddb7d169f0p-3, -0x1.264053fd62b3cp-2, 0x1.1b795e8e57ee3p-3, 0x1.1381bbe93b8e5p-3, -0x1.fd07f394e1bf7p-4, -0x1.f634c37bb5315p-5},
    {0x1.f14f19cce28ebp-1, -0x1.4c16f42678d07p-3, -0x1.1d10f4fccc153p-2, 0x1.300cd74979f8cp-3, 0x1.f6194fbe70208p-4, -0x1.0abc54b1c266fp-3, -0x1.875b23b74e858p-5},
    {0x1.ee9c7f8458e02p-1, -0x1.665c226d69eebp-3, -0x1.1344bb737e8f3p-2, 0x1.42aca8b929b0bp-3, 0x1.c32d8f683981cp-4, -0x1.13e9ad22d5eccp-3, -0x1.17f3ed35c8c33p-5},
    {0x1.ebb64a8c932d7p-1, -0x1.7faf6f88295fep-3, -0x1.08eb8d3f5a07bp-2, 0x1.53479d6814372p-3, 0x1.8ed239c562d77p-4, -0x1.1a0ec2cdd89fdp-3, -0x1.53bd4fec9df82p-6},
    {0x1.e89e6b5ccf172p-1, -0x1.980467f79bfd6p-3, -0x1.fc2b8650d32f4p-3, 0x1.61d22d625e475p-3, 0x1.599799e54f300p-4, -0x1.1d3b0365c2b85p-3, -0x1.f6cc90afb6b97p-8},
    {0x1.e556e9c86d7c6p-1, -0x1.af50242f10c89p-3, -0x1.e5a7f7b1596d9p-3, 0x1.6e466171949b1p-3, 0x1.2409fa3d6f244p-4, -0x1.1d8980dceacbfp-3, 0x1.3c3b6dc715080p-8},
    {0x1.e1e1e1e1e1e1ep-1, -0x1.c5894d10d4986p-3, -0x1.ce6de0253d27ep-3, 0x1.78a3a08d88b02p-3, 0x1.dd5f26a622b44p-5, -0x1.1b1faecd7c4e0p-3, 0x1.0fc3e1fc8b549p-6},
    {0x1.de4180d8b5ae6p-1, -0x1.daa81c655a596p-3, -0x1.b69e91974fd6cp-3, 0x1.80ee69dcd2641p-3, 0x1.740d764b143bep-5, -0x1.162bf4b6b7330p-3, 0x1.c21477a20d203p-6},
    {0x1.da7801da7801ep-1, -0x1.eea659814cb11p-3, -0x1.9e5aef76f9fa1p-3, 0x1.872ffdf090624p-3, 0x1.0d08b83fe02bcp-5, -0x1.0ee4231b98637p-3, 0x1.320e65b309f28p-5},
    {0x1.d687aafdfd5bap-1, -0x1.00bfa92db6fdbp-2, -0x1.85c325b640da2p-3, 0x1.8b75fa1da32d2p-3, 0x1.524adee810d60p-6, -0x1.0583d95a69deap-3, 0x1.7a3792b4d3decp-5},
    {0x1.d272ca3fc5b1ap-1, -0x1.0997e8aec9d8ep-2, -0x1.6cf6666d5c0ffp-3, 0x1.8dd1e8f2617b5p-3, 0x1.2483b33966883p-7, -0x1.f495d2b05b16bp-4, 0x1.b9096074fdeafp-5},
    {0x1.ce3bb295c0773p-1, -0x1.11db08221a582p-2, -0x1.5412aeb9ef661p-3, 0x1.8e58cacc06b3ap-3, -0x1.25ff7cfe3f01ep-9, -0x1.daf789dae4b1cp-4, 0x1.ee3fb8e4e3e16p-5},
    {0x1.c9e4b91ff8d87p-1, -0x1.1988d432f5908p-2, -0x1.3b3493403e07cp-3, 0x1.8d22997d0e938p-3, -0x1.a3464c2fe9cdep-7, -0x1.beb3fefb6f244p-4, 0x1.0ce5a39e67c0bp-4},
    {0x1.c570327afd9ebp-1, -0x1.20a1c06000419p-2, -0x1.22771486ad2c8p-3, 0x1.8a49c9d027817p-3, -0x1.73831eaabcb23p-6, -0x1.a051d8c46fbcep-4, 0x1.1de669132e9ccp-4},
    {0x1.c0e070381c0e0p-1, -0x1.2726dd135c174p-2, -0x1.09f37b38cc8cfp-3, 0x1.85eacd7da413cp-3, -0x1.04d6980fcc815p-5, -0x1.8054c1df326f9p-4, 0x1.2a47e082bda60p-4},
    {0x1.bc37be7ec7a8dp-1, -0x1.2d19ccfbdd7fap-2, -0x1.e382786f8309bp-4, 0x1.802397e6de8dep-3, -0x1.49cf94f6d8017p-5, -0x1.5f3b3de917e27p-4, 0x1.324208e455cc2p-4},
    {0x1.b77861d9cdc98p-1, -0x1.327cb9d57b8f5p-2, -0x1.b3ebc8761b154p-4, 0x1.7913279f68c54p-3, -0x1.888285872d73cp-5, -0x1.3d7cd567be750p-4, 0x1.361c00a24fc71p-4},
    {0x1.b2a495323eb6ap-1, -0x1.375248cd58cc4p-2, -0x1.854a154d5f784p-4, 0x1.70d9167aa0c46p-3, -0x1.c0db0d0665a46p-5, -0x1.1b889b428e30dp-4, 0x1.3628d134448b0p-4},
    {0x1.adbe87f94905ep-1, -0x1.3b9d8eab54af9p-2, -0x1.57c09645a7f9ep-4, 0x1.67953180938f2p-3, -0x1.f2d8bff0ea012p-5, -0x1.f388166c7250cp-5, 0x1.32c44c95ff694p-4},
    {0x1.a8c85c81a2254p-1, -0x1.3f6203e8218e0p-2, -0x1.2b6e8adb5f398p-4, 0x1.5d6719d9e25fcp-3, -0x1.0f46a19cc29a0p-4, -0x1.b1147c1a69750p-5, 0x1.2c5012c826e6bp-4},
    {0x1.a3c4268881898p-1, -0x1.42a378d38076dp-2, -0x1.006f45a36f1bdp-4, 0x1.526def7221a2ap-3, -0x1.220d267b0229ap-4, -0x1.7056dc74d0c66p-5, 0x1.2330d0ff472e2p-4},
    {0x1.9eb3e9edacaccp-1, -0x1.456609eaa285dp-2, -0x1.adb4828319af3p-5, 0x1.46c805c4ee7c2p-3, -0x1.31d7ca73bc33fp-4, -0x1.31d98b8a731f5p-5, 0x1.17cbc798f7481p-4},
    {0x1.999999999999ap-1, -0x1.47ae147ae147bp-2, -0x1.5d867c3ece2a5p-5, 0x1.3a92a30553261p-3, -0x1.3ec460ed80a18p-4, -0x1.ec21b514d88d8p-6, 0x1.0a849f929a833p-4},
    {0x1.9477169044ba4p-1, -0x1.49802ba91fd89p-2, -0x1.1074cf33546d5p-5, 0x1.2de9c99222665p-3, -0x1.48f5afa031cb1p-4, -0x1.7ab74bc0c6420p-6, 0x1.f7772876d0f75p-5},
    {0x1.8f4e2f2efd135p-1, -0x1.4ae10df24b2d1p-2, -0x1.8d31fd7365f3fp-6, 0x1.20e80b7567664p-3, -0x1.5092724d80dddp-4, -0x1.100881b0516abp-6, 0x1.d797e4a356567p-5},
    {0x1.8a209e931fcd3p-1, -0x1.4bd59b35ad2d8p-2, -0x1.000c36dc339efp-6, 0x1.13a667812ee2dp-3, -0x1.55c46b5955c9cp-4, -0x1.5906b0fd2b503p-7, 0x1.b615d577de2dap-5},
    {0x1.84f00c2780614p-1, -0x1.4c62cb562c625p-2, -0x1.e6495b3a4bcb7p-8, 0x1.063c2f78c0dc4p-3, -0x1.58b78459eb443p-4, -0x1.41c831386e6b4p-8, 0x1.938d6944ff706p-5},
    {0x1.7fbe0b560d35cp-1, -0x1.4c8da57c2e1cbp-2, 0x1.8b34161c69f3cp-12, 0x1.f17ded351e8edp-4, -0x1.599900e77234cp-4, 0x1.006ef99f594eep-12, 0x1.708bf1a75a6ccp-5},
    {0x1.7a8c1b5b1ffa1p-1, -0x1.4c5b37fead5b8p-2, 0x1.fcb3101e4c970p-8, 0x1.d6850f983ecf1p-4, -0x1.5896c532f49b6p-4, 0x1.432e2eaefcf7fp-8, 0x1.4d8efe1db38f0p-5},
    {0x1.755ba737d49cap-1, -0x1.4bd090f73c4b3p-2, 0x1.e2e4f8920477fp-7, 0x1.bbb1c53aaefa0p-4, -0x1.55deb13f5f619p-4, 0x1.2bf14e675741ep-7, 0x1.2b042a05e0ebfp-5},
    {0x1.702e05c0b8170p-1, -0x1.4af2b78215a76p-2, 0x1.5d0b7e9e4a9d0p-6, 0x1.a1247ca629942p-4, -0x1.519e1100385b4p-4, 0x1.a759232616ed8p-7, 0x1.09494cda1223ap-5},
    {0x1.6b0479c620595p-1, -0x1.49c6a5a920887p-2, 0x1.c20cfbb7e5931p-6, 0x1.86fa2451c4a5dp-4, -0x1.4c012120917dap-4, 0x1.0a1da6b9c3fadp-6, 0x1.d159f708543e5p-6},
    {0x1.65e032538713cp-1, -0x1.485142f6d4575p-2, 0x1.104979386fd1dp-5, 0x1.6d4c43fc6c180p-4, -0x1.4532a7ca4cfd0p-4, 0x1.3991d90eb1d30p-6, 0x1.92de946163051p-6},
    {0x1.60c24b0350d38p-1, -0x1.46975fac420bdp-2, 0x1.3c5fad098b4eep-5, 0x1.54311d57c5b53p-4, -0x1.3d5ba071017e0p-4, 0x1.625b9f11b08a7p-6, 0x1.57857e25bbc6fp-6},
    {0x1.5babcc647fa91p-1, -0x1.449db094286d0p-2, 0x1.655caac4cf102p-5, 0x1.3bbbd2933dd9cp-4, -0x1.34a2f9636afc9p-4, 0x1.84d71a2400f6fp-6, 0x1.1f9acfcc53cabp-6},
    {0x1.569dac6feb417p-1, -0x1.4268cb6bde980p-2, 0x1.8b56386705749p-5, 0x1.23fc9171a8768p-4, -0x1.2b2d61b8904fdp-4, 0x1.a1677ca70ce88p-6, 0x1.d6a8162963581p-7},
    {0x1.5198cf0ab6f99p-1, -0x1.3ffd23da059f4p-2, 0x1.ae63f4c5d36dcp-5, 0x1.0d00c1b178adap-4, -0x1.211d261093929p-4, 0x1.b874b30c5dd59p-6, 0x1.75a50b0b899edp-7},
    {0x1.4c9e0693e0015p-1, -0x1.3d5f08ea521a8p-2, 0x1.ce9f01d4b9b62p-5, 0x1.eda66b5db8847p-5, -0x1.16921a92559e3p-4, 0x1.ca69513b2a17dp-6, 0x1.1c4bb355982b3p-7},
    {0x1.47ae147ae147bp-1, -0x1.3a92a30553261p-2, 0x1.ec21b514d88d8p-5, 0x1.c2f8b88dfb80cp-5, -0x1.0ba9908c71945p-4, 0x1.d7b0c3d79f13fp-6, 0x1.95393357dfc67p-8},
    {0x1.42c9a9dd8fdc1p-1, -0x1.379bf25adf97fp-2, 0x1.0383a724dbb01p-4, 0x1.9a04e646e65dfp-5, -0x1.007e562771c79p-4, 0x1.e0b5c37a45544p-6, 0x1.00fc754993092p-8},
    {0x1.3df1682b78014p-1, -0x1.347ecdb5be2e4p-2, 0x1.0fb5da3a11be4p-4, 0x1.72d3716778170p-5, -0x1.ea517d4cdbd49p-5, 0x1.e5e106bc61b6fp-6, 0x1.ee0afd0517524p-10},
    {0x1.3925e1cd28c98p-1, -0x1.313ee1af2c622p-2, 0x1.1ab59c7f683c3p-4, 0x1.4d693a7039179p-5, -0x1.d37d6391400b3p-5, 0x1.e7982f2148a36p-6, 0x1.12956b6df63cap-14},
    {0x1.34679ace01346p-1, -0x1.2ddfb03913da2p-2, 0x1.2491307b46905p-4, 0x1.29c7e4b96b773p-5, -0x1.bca781f071f44p-5, 0x1.e63cec4b7b7c4p-6, -0x1.9529a125f35b0p-10},
    {0x1.2fb7098736048p-1, -0x1.2a64907603054p-2, 0x1.2d56da0cac592p-4, 0x1.07ee31fa53ce5p-5, -0x1.a5f2821eb5271p-5, 0x1.e22c508df7f4fp-6, -0x1.83dca107b528fp-9},
    {0x1.2b14974aea886p-1, -0x1.26d0aed65571ep-2, 0x1.3514c8be1339fp-4, 0x1.cfb0b300f8f9bp-6, -0x1.8f7ccf34b004fp-5, 0x1.dbbe51bd3bde0p-6, -0x1.126379bf7dcebp-8},
    {0x1.2680a10e5813ep-1, -0x1.23270d725fa1cp-2, 0x1.3bd904bf2f124p-4, 0x1.9300b53ea1533p-6, -0x1.7960d53a4e537p-5, 0x1.d345711f5f086p-6, -0x1.5776019baa1dap-8},
    {0x1.21fb78121fb78p-1, -0x1.1f6a8499e4889p-2, 0x1.41b15e5decb17p-4, 0x1.59bc940a374b5p-6, -0x1.63b54400d3c9ap-5, 0x1.c90e857717232p-6, -0x1.91f786bfa704ep-8},
    {0x1.1d856287ffb8ap-1, -0x1.1b9dc39195240p-2, 0x1.46ab5fd4fa866p-4, 0x1.23d13384eda2cp-6, -0x1.4e8d53cff324cp-5, 0x1.bd60a25b0d0adp-6, -0x1.c2bb4e063d1e6p-8},
    {0x1.191e9c35424cap-1, -0x1.17c35177d9a85p-2, 0x1.4ad44144fffaep-4, 0x1.e2516fb2b5523p-7, -0x1.39f90aa1cc641p-5, 0x1.b07d185304289p-6, -0x1.ea930756fd193p-8},
    {0x1.14c75711551bbp-1, -0x1.13dd8e4aa5095p-2, 0x1.4e38dead4c211p-4, 0x1.8355ff6b74576p-7, -0x1.260580de0faaap-5, 0x1.a29f8989371f0p-6, -0x1.052612b085d9ap-7},
    {0x1.107fbbe011080p-1, -0x1.0feeb40894fcdp-2, 0x1.50e5afb9125f7p-4, 0x1.2a7c2843ba55ap-7, -0x1.12bd24b4ae875p-5, 0x1.93fe0f3b1b1eep-6, -0x1.1156dd4c2083bp-7},
    {0x1.0c47eac74fadcp-1, -0x1.0bf8d7e8202a9p-2, 0x1.52e6c13725c73p-4, 0x1.af1a37d9c2711p-8, -0x1.0027fb643d11fp-5, 0x1.84c96c756b7d7p-6, -0x1.1a3b66c3ca3aep-7},
    {0x1.081ffbdf80108p-1, -0x1.07fdeba010928p-2, 0x1.5447b0136e69fp-4, 0x1.149fc55103947p-8, -0x1.dc97bfbe9a2eep-6, 0x1.752d4b08adda9p-6, -0x1.202e8b540d106p-7},
    {0x1.0407ffbefe001p-1, -0x1.03ffbebd00209p-2, 0x1.5513a5aaf6d91p-4, 0x1.0a27fc6ac4038p-9, -0x1.ba597ccd6032ap-6, 0x1.65508002bb974p-6, -0x1.23860d2d1068bp-7},
    {0x1.0000000000000p-1, -0x1.0000000000000p-2, 0x1.5555555555555p-4, 0x0.0p+0, -0x1.999999999999ap-6, 0x1.5555555555555p-6, -0x1.2492492492492p-7},
};
constexpr double kHalfPi = 0x1.921fb54442d18p+0;
constexpr double kPi = 0x1.921fb54442d18p+1;
}  // namespace

// The angle comes from the table and the series to within 2^-48 of itself,
// and is rounded to a float. That float is the one the arc tangent would
// round to unless a rounding edge between two floats lies within 2^-40 of
// the angle (the arc tangent is good to a unit or two in a double's last
// place): then, and for zeros, infinities and extreme sizes, the arc
// tangent itself decides. The arithmetic is laid out for a short chain:
// one division, the series in two halves, the quadrant folded in ahead.
float SightBearing(double dx, double dy)
{
    const double a = std::fabs(dx);
    const double b = std::fabs(dy);
    if (a >= 0x1p-400 && a <= 0x1p400 && b >= 0x1p-400 && b <= 0x1p400)
    {
        const double q = std::min(a, b) / std::max(a, b);
        // c = k / 64 nearest q, and t = q - c exactly: adding 1.5 x 2^52
        // rounds q x 64 to a whole number in the low bits.
        constexpr double kRound = 0x1.8p52;
        const double rounded64ths = q * 64.0 + kRound;
        const double whole = rounded64ths - kRound;
        std::uint64_t bits = 0;
        std::memcpy(&bits, &rounded64ths, sizeof bits);
        const int k = static_cast<int>(bits & 0x7F);
        const double t = (q * 64.0 - whole) * (1.0 / 64.0);
        // |t| <= 1/128: the terms past t^7 come to less than 2^-56.
        const double* c = kAtanSeries[k];
        const double t2 = t * t;
        const double t4 = t2 * t2;
        const double series = ((c[0] + c[1] * t) + t2 * (c[2] + c[3] * t)) + t4 * ((c[4] + c[5] * t) + t2 * c[6]);
        // Into the quadrant: by |dx| against |dy| and the sign of dy, the
        // angle from the north is r, pi - r, pi/2 - r or pi/2 + r, with r =
        // atan(q); it takes the sign of dx.
        static constexpr double kOffset[4] = {0.0, kPi, kHalfPi, kHalfPi};
        static constexpr double kSign[4] = {1.0, -1.0, -1.0, 1.0};
        const int quadrant = (a > b ? 2 : 0) + (dy < 0.0 ? 1 : 0);
        const double sign = kSign[quadrant] * std::copysign(1.0, dx);
        const double base = std::copysign(kOffset[quadrant], dx) + sign * kAtanOf64ths[k];
        const double angle = base + (sign * t) * series;
        // The series is below 1, so this is at least 2^-40.01 of the angle.
        const double slack = (std::fabs(base) + std::fabs(t)) * 0x1p-40;
        const float rounded = static_cast<float>(angle);
        if (static_cast<float>(angle - slack) == rounded && static_cast<float>(angle + slack) == rounded)
            return rounded;
    }
    return static_cast<float>(std::atan2(dx, dy));
}

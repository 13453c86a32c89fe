#pragma once
// Every outside page the scenes open, in one place: scheme, host and the fixed part of the
// path. Keywords are added by the URL builder (platform/Url.h), encoded for their place.

namespace endpoints {

// Search pages (the keyword follows directly).
inline constexpr const char* kTmallSearch = "https://list.tmall.com/search_product.htm?q=";
inline constexpr const char* kJdSearch = "http://search.jd.com/search?keyword=";
inline constexpr const char* kTaobaoSearch = "https://s.taobao.com/search?q=";
inline constexpr const char* kJuhuasuanSearch = "https://ju.taobao.com/search.htm?words=";
inline constexpr const char* kVipshopSuggest = "http://category.vip.com/suggest.php?keyword=";
inline constexpr const char* kJumeiSearch = "http://search.jumei.com/?filter=0-11-1&search=";
inline constexpr const char* kSuningSearch = "http://search.suning.com/";
// The Chinese word inside is written between these two parts, in GBK.
inline constexpr const char* kAmazonSearchHead = "https://www.amazon.cn/s/ref=nb_sb_noss_2?__mk_zh_CN=";
inline constexpr const char* kAmazonSearchWord = "亚马逊网站";
inline constexpr const char* kAmazonSearchTail = "&url=search-alias%3Daps&field-keywords=";
inline constexpr const char* kGomeSearch = "http://search.gome.com.cn/search?question=";
inline constexpr const char* kYhdSearch = "http://search.yhd.com/c0-0/k";
inline constexpr const char* kDangdangSearch = "http://search.dangdang.com/?key=";
inline constexpr const char* kBaiduSearch = "https://www.baidu.com/s?wd=";
inline constexpr const char* kGoogleSearch = "https://www.google.com/#q=";
inline constexpr const char* kSo360Search = "https://www.so.com/s?src=360chrome_newtab_search&ie=utf-8&q=";
inline constexpr const char* kSogouSearch = "http://www.sogou.com/sogou?query=";
inline constexpr const char* kYahooSearch =
    "https://sg.search.yahoo.com/search;_ylt=AwrwSY6ratRgGhwAvAUdDQx.;_ylc=X1MDMjExNDcyMzAwMgRfcgMy?p=";
inline constexpr const char* kIqiyiSearch = "http://so.iqiyi.com/so/q_";
inline constexpr const char* kSokuVideoSearch = "http://www.soku.com/search_video/q_";
inline constexpr const char* kSokuTudouSearch = "http://www.soku.com/t/nisearch/";
inline constexpr const char* kMgtvSearch = "http://so.mgtv.com/so/k-";
inline constexpr const char* kLetvSearch = "http://so.le.com/s?wd=";
inline constexpr const char* kBaiduVideoSearch = "http://v.baidu.com/v?word=";
inline constexpr const char* kDoubanMovieSearch = "https://movie.douban.com/subject_search?search_text=";
inline constexpr const char* kSohuTvSearch = "http://so.tv.sohu.com/mts?box=1&wd=";
inline constexpr const char* kTencentVideoSearch = "http://v.qq.com/x/search/?q=";
inline constexpr const char* kSinaVideoSearch = "http://video.sina.com.cn/s?wd=";
inline constexpr const char* kIfengVideoSearch = "http://so.v.ifeng.com/video?q=";
inline constexpr const char* kKankanSearch = "http://search.kankan.com/search.php?keyword=";
// The software centre's search page; the URL-encoded program name follows the fragment.
inline constexpr const char* kSoftCentreSearch = "https://pc.qq.com/search.html#!keyword=";
inline constexpr const char* kKugouSongSearch =
    "http://www.kugou.com/yy/html/search.html#searchType=song&searchKeyWord=";

// Home pages.
inline constexpr const char* kTmallHome = "https://www.tmall.com/";
inline constexpr const char* kJdHome = "https://www.jd.com/";
inline constexpr const char* kTaobaoHome = "https://www.taobao.com/";
inline constexpr const char* kIqiyiHome = "http://www.iqiyi.com/";
inline constexpr const char* kYoukuHome = "http://www.youku.com/";
inline constexpr const char* kBaiduHome = "https://www.baidu.com/";

// Media.
inline constexpr const char* kKugouHome = "http://www.kugou.com/";
// The song page; the first hit's file hash follows the fragment.
inline constexpr const char* kKugouSongPage = "http://www.kugou.com/song/#hash=";
// The song search interface lives under the configurable "songsearch" endpoint (host/HttpConfig.h);
// this is its path and the fixed parts of the query around the URL-encoded search text.
inline constexpr const char* kSongSearchPath = "/song_search_v2?&keyword=";
inline constexpr const char* kSongSearchTail = "&page=1&pagesize=10&clientver=&platform=WebFilter";
inline constexpr const char* kIqiyiHomeHttps = "https://www.iqiyi.com/";
inline constexpr const char* kIqiyiSearchHttps = "https://so.iqiyi.com/so/q_";
inline constexpr const char* kNeteaseNews = "http://news.163.com/";
inline constexpr const char* kTencentNews = "http://news.qq.com/";
inline constexpr const char* kSinaNews = "http://news.sina.com.cn/";
inline constexpr const char* kSohuNews = "http://news.sohu.com/";
inline constexpr const char* kBaiduNews = "http://news.baidu.com/";

// Travel.
inline constexpr const char* kQunarFlightRoot = "http://flight.qunar.com";
inline constexpr const char* kQunarFlightOneWay = "http://flight.qunar.com/site/oneway_list.htm?searchDepartureAirport=";
inline constexpr const char* kRailwayLeftTickets = "https://kyfw.12306.cn/otn/leftTicket/init";
inline constexpr const char* kQunarHome = "https://www.qunar.com";
inline constexpr const char* kQunarHotelHome = "http://hotel.qunar.com/";
inline constexpr const char* kQunarHotelCity = "http://hotel.qunar.com/city/";

// Everyday services.
inline constexpr const char* kAmapHome = "https://www.amap.com/";
inline constexpr const char* kAmapSearch = "https://www.amap.com/search?query=";
// Meituan: a city's own host is its short name followed by the domain.
inline constexpr const char* kMeituanMain = "http://www.meituan.com";
inline constexpr const char* kMeituanDomain = ".meituan.com";
inline constexpr const char* kMeituanSearchPath = "/s/";
inline constexpr const char* kMeishijRecipe = "http://www.meishij.net/zuofa/";
inline constexpr const char* kMeishijHome = "http://www.meishij.net/";
inline constexpr const char* kMeishiSearch = "http://so.meishi.cc/index.php?q=";
inline constexpr const char* kHao123Parcel = "http://www.hao123.com/kuaidi/";
inline constexpr const char* kHexunShare = "http://stockdata.stock.hexun.com/gghq_";
inline constexpr const char* kHexunHongKong = "http://stockdata.stock.hexun.com/urwh/hkstock/";
// The share channel's home page, for a quote request without a share code.
inline constexpr const char* kHexunStockHome = "http://stock.hexun.com/";
inline constexpr const char* kBaiduTranslateHome = "http://fanyi.baidu.com/";
inline constexpr const char* kBaiduTranslate = "http://fanyi.baidu.com/?aldtype=16047#zh/";

}  // namespace endpoints

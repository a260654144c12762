#pragma once
// Order exports for the order benchmarks.
#include <cstddef>
#include <string>

// A shopping-mall style export: quoted cells, split postcodes and phones, orderer and shipping
// address, two or three item rows per order, every fifth order cash on delivery, long addresses.
inline std::string MallExport(std::size_t rows) {
    std::string text =
        "受注番号,注文日時,注文者名字,注文者名前,注文者郵便番号1,注文者郵便番号2,注文者住所：都道府県,"
        "注文者住所：都市区,注文者住所：町以降,送付先名字,送付先名前,送付先郵便番号1,送付先郵便番号2,"
        "送付先住所：都道府県,送付先住所：都市区,送付先住所：町以降,送付先電話番号1,送付先電話番号2,"
        "送付先電話番号3,商品名,個数,合計金額,決済方法,お届け日指定,お届け時間帯,備考\r\n";
    const char* towns[] = {"新横浜二丁目15番地10 新横浜スクエアビル5階", "梅田1-1-3",
                           "北一条西2丁目1-1 札幌ビル8F",
                           "丸の内1-9-1 グラントウキョウノースタワー 株式会社サンプル商事"};
    std::size_t order = 0, row = 0;
    while (row < rows) {
        ++order;
        std::size_t items = 2 + order % 2;
        for (std::size_t i = 0; i < items && row < rows; ++i, ++row) {
            std::string ref = "100001-20240501-" + std::to_string(100000 + order);
            std::string town = towns[order % 4];
            text += "\"" + ref +
                    "\",\"2024-05-01 10:15:00\",\"山田\",\"太郎\",\"150\",\"0001\",\"東京都\",\"渋谷区\",";
            text +=
                "\"神宮前1-2-3\",\"佐藤\",\"花子\",\"" + std::to_string(100 + order % 900) + "\",\"0022\",";
            text += "\"神奈川県\",\"横浜市港北区\",\"" + town + "\",\"090\",\"1234\",\"5678\",";
            text += "\"有機緑茶 100g 詰め合わせ 品番" + std::to_string(i) + "\",\"2\",\"12,800\",";
            text += std::string(order % 5 == 0 ? "\"代金引換\"" : "\"クレジットカード決済\"") +
                    ",\"2024-05-04\",\"午前中\",\"のし紙をお願いします, 赤白\"\r\n";
        }
    }
    return text;
}

// An online store's export (Shopify's layout): the order's columns on its first row only, one more row
// per further item, every fifth order cash on delivery. About 120 bytes a row.
inline std::string StoreExport(std::size_t rows) {
    std::string text = "Name,Email,Financial Status,Lineitem quantity,Lineitem name,Total,Shipping Name,"
                       "Shipping Address1,Shipping Address2,Shipping City,Shipping Zip,Shipping Province,"
                       "Shipping Phone,Payment Method\r\n";
    std::size_t order = 0, row = 0;
    while (row < rows) {
        ++order;
        const std::string name = "#" + std::to_string(1000 + order);
        for (std::size_t i = 0; i < 1 + order % 3 && row < rows; ++i, ++row) {
            if (i > 0) {
                text += name + ",,,1,ほうじ茶 ティーバッグ 品番" + std::to_string(i) + ",,,,,,,,,\r\n";
                continue;
            }
            text += name + ",a" + std::to_string(order) + "@example.jp,paid,1,有機緑茶 100g,12800,佐藤 花子,";
            text += "新横浜二丁目15番地10,スクエアビル5階,横浜市港北区,'" +
                    std::to_string(2220000 + order % 1000) + ",JP-14,+81 90-1234-5678," +
                    (order % 5 == 0 ? "Cash on Delivery (COD)" : "Credit Card") + "\r\n";
        }
    }
    return text;
}

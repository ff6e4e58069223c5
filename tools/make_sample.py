#!/usr/bin/env python3
"""Remake the sample catalogue of ホシノートＷ in sample/ (a working folder).

Run from anywhere:  python3 tools/make_sample.py
Writes, deterministically, the title data, the viewing history, the two item
masters, the settings, the cast / synopsis / memo texts and the pictures.
Every text file is CP932 with CR LF line ends.  The pictures are drawn here
with ImageMagick (`convert`) and the IPA Gothic font: simple poster-like
compositions, no one else's artwork.
"""

import hashlib
import os
import random
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "sample")
FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
FORBIDDEN = set('\\/:,;*?"<>|')

EVAL_ITEMS = ["総合", "感動・涙", "笑い", "ほのぼの", "スリル", "恐怖戦慄", "セクシー"]
OWN_ITEMS = ["ＤＶＤ", "ブルーレイ", "ビデオ", "配信"]

# title, director, lead actor, release (Japan), country, genre, rating,
# scores "item1 .. item7" (item 1 0..100, items 2..7 0..10, "" = not scored),
# ownership flags (ＤＶＤ ブルーレイ ビデオ 配信 as 1/0),
# picture: "" none, else extension + shape (u upright, w wide, s square)
FILMS = [
    ("七人の侍", "黒澤明", "三船敏郎", "1954/04", "日本", "時代劇", "◎", "98 9 3 2 8 1 0", "1100", "jpg u"),
    ("用心棒", "黒澤明", "三船敏郎", "1961/04", "日本", "時代劇", "◎", "92 5 6 1 8 2 0", "1000", "jpg u"),
    ("生きる", "黒澤明", "志村喬", "1952/10", "日本", "ドラマ", "◎", "95 10 2 4 1 0 0", "1000", "jpg w"),
    ("羅生門", "黒澤明", "三船敏郎", "1950/08", "日本", "時代劇", "○", "85 5 1 0 6 4 3", "0010", "gif u"),
    ("東京物語", "小津安二郎", "笠智衆", "1953/11", "日本", "ドラマ", "◎", "96 9 2 8 0 0 0", "1000", "jpg u"),
    ("ゴジラ", "本多猪四郎", "宝田明", "1954/11", "日本", "特撮", "○", "84 6 0 0 8 8 0", "0100", "jpg w"),
    ("千と千尋の神隠し", "宮崎駿", "柊瑠美", "2001/07", "日本", "アニメ", "◎", "94 8 5 7 6 3 0", "1101", "jpg u"),
    ("となりのトトロ", "宮崎駿", "日高のり子", "1988/04", "日本", "アニメ", "◎", "97 8 6 10 1 1 0", "1110", "jpg s"),
    ("もののけ姫", "宮崎駿", "松田洋治", "1997/07", "日本", "アニメ", "○", "88 8 1 2 8 4 0", "1000", "jpg u"),
    ("天空の城ラピュタ", "宮崎駿", "田中真弓", "1986/08", "日本", "アニメ", "◎", "93 8 6 6 8 1 0", "0101", "jpg w"),
    ("風の谷のナウシカ", "宮崎駿", "島本須美", "1984/03", "日本", "アニメ", "○", "90 9 2 3 7 3 0", "0010", "bmp u"),
    ("男はつらいよ", "山田洋次", "渥美清", "1969/08", "日本", "喜劇", "◎", "90 8 10 9 0 0 1", "1000", "jpg u"),
    ("幸福の黄色いハンカチ", "山田洋次", "高倉健", "1977/10", "日本", "ドラマ", "○", "88 10 5 8 1 0 1", "0010", "jpg w"),
    ("おくりびと", "滝田洋二郎", "本木雅弘", "2008/09", "日本", "ドラマ", "○", "86 10 5 6 0 1 0", "1000", "jpg u"),
    ("Shall we ダンス？", "周防正行", "役所広司", "1996/01", "日本", "喜劇", "○", "82 6 8 8 1 0 3", "0010", "gif u"),
    ("君の名は。", "新海誠", "神木隆之介", "2016/08", "日本", "アニメ", "○", "85 8 5 5 5 0 1", "0101", "jpg u"),
    ("踊る大捜査線 THE MOVIE", "本広克行", "織田裕二", "1998/10", "日本", "刑事ドラマ", "△", "70 4 7 3 6 2 0", "", "jpg w"),
    ("砂の器", "野村芳太郎", "加藤剛", "1974/10", "日本", "サスペンス", "◎", "91 10 0 1 6 2 0", "1000", "jpg u"),
    ("八つ墓村", "野村芳太郎", "萩原健一", "1977/10", "日本", "ミステリー", "○", "75 2 1 0 7 10 2", "0010", "bmp u"),
    ("座頭市", "北野武", "ビートたけし", "2003/09", "日本", "時代劇", "○", "80 3 6 2 8 3 1", "1000", "jpg u"),
    ("HANA-BI", "北野武", "ビートたけし", "1998/01", "日本", "ドラマ", "", "", "", ""),
    ("万引き家族", "是枝裕和", "リリー・フランキー", "2018/06", "日本", "ドラマ", "○", "84 8 3 5 2 0 1", "0001", "jpg u"),
    ("シン・ゴジラ", "庵野秀明", "長谷川博己", "2016/07", "日本", "特撮", "◎", "90 4 4 0 9 5 0", "0101", "jpg w"),
    ("リング", "中田秀夫", "松嶋菜々子", "1998/01", "日本", "ホラー", "△", "68 1 0 0 8 10 0", "0010", "gif u"),
    ("蒲田行進曲", "深作欣二", "風間杜夫", "1982/10", "日本", "喜劇", "", "", "", ""),
    ("ジョーズ", "スティーヴン・スピルバーグ", "ロイ・シャイダー", "1975/12", "アメリカ", "パニック", "◎", "90 2 2 0 10 9 0", "0100", "jpg u"),
    ("E.T.", "スティーヴン・スピルバーグ", "ヘンリー・トーマス", "1982/12", "アメリカ", "ＳＦ", "◎", "92 10 5 8 4 1 0", "1010", "jpg s"),
    ("ジュラシック・パーク", "スティーヴン・スピルバーグ", "サム・ニール", "1993/07", "アメリカ", "ＳＦ", "○", "83 3 3 2 9 7 0", "0100", "jpg w"),
    ("シンドラーのリスト", "スティーヴン・スピルバーグ", "リーアム・ニーソン", "1994/02", "アメリカ", "戦争", "◎", "94 10 0 0 5 4 0", "1000", "jpg u"),
    ("スター・ウォーズ", "ジョージ・ルーカス", "マーク・ハミル", "1978/07", "アメリカ", "ＳＦ", "◎", "91 5 5 3 8 1 1", "0101", "jpg u"),
    ("バック・トゥ・ザ・フューチャー", "ロバート・ゼメキス", "マイケル・J・フォックス", "1985/12", "アメリカ", "ＳＦ", "◎", "96 6 9 6 8 0 1", "1110", "jpg u"),
    ("フォレスト・ガンプ／一期一会", "ロバート・ゼメキス", "トム・ハンクス", "1995/03", "アメリカ", "ドラマ", "○", "87 9 6 6 2 0 1", "1000", "jpg u"),
    ("タイタニック", "ジェームズ・キャメロン", "レオナルド・ディカプリオ", "1997/12", "アメリカ", "恋愛", "○", "85 10 2 3 7 3 6", "1110", "jpg w"),
    ("ターミネーター2", "ジェームズ・キャメロン", "アーノルド・シュワルツェネッガー", "1991/08", "アメリカ", "アクション", "◎", "90 7 4 1 10 5 1", "0110", "bmp u"),
    ("ローマの休日", "ウィリアム・ワイラー", "オードリー・ヘプバーン", "1954/04", "アメリカ", "恋愛", "◎", "95 9 7 8 1 0 4", "1000", "jpg u"),
    ("風と共に去りぬ", "ヴィクター・フレミング", "ヴィヴィアン・リー", "1952/09", "アメリカ", "恋愛", "○", "84 8 1 2 4 1 4", "0010", "jpg u"),
    ("ゴッドファーザー", "フランシス・フォード・コッポラ", "マーロン・ブランド", "1972/07", "アメリカ", "犯罪", "◎", "95 6 0 1 9 4 2", "0100", "jpg u"),
    ("ショーシャンクの空に", "フランク・ダラボン", "ティム・ロビンス", "1995/06", "アメリカ", "ドラマ", "◎", "98 10 3 4 6 1 0", "1100", "jpg u"),
    ("羊たちの沈黙", "ジョナサン・デミ", "ジョディ・フォスター", "1991/06", "アメリカ", "サスペンス", "○", "86 1 0 0 10 9 1", "0010", "gif u"),
    ("サウンド・オブ・ミュージック", "ロバート・ワイズ", "ジュリー・アンドリュース", "1965/06", "アメリカ", "ミュージカル", "◎", "92 9 6 10 3 0 0", "1000", "jpg w"),
    ("ウエスト・サイド物語", "ロバート・ワイズ", "ナタリー・ウッド", "1961/12", "アメリカ", "ミュージカル", "○", "82 8 2 2 5 1 3", "", "jpg u"),
    ("ダイ・ハード", "ジョン・マクティアナン", "ブルース・ウィリス", "1989/02", "アメリカ", "アクション", "◎", "90 4 6 1 10 4 0", "0110", "jpg u"),
    ("マトリックス", "ウォシャウスキー姉妹", "キアヌ・リーヴス", "1999/09", "アメリカ", "ＳＦ", "○", "84 2 1 0 9 3 2", "1000", "jpg u"),
    ("レオン", "リュック・ベッソン", "ジャン・レノ", "1995/03", "フランス", "アクション", "◎", "93 10 2 3 9 4 1", "1100", "jpg u"),
    ("アメリ", "ジャン＝ピエール・ジュネ", "オドレイ・トトゥ", "2001/11", "フランス", "恋愛", "○", "80 5 7 9 1 0 3", "1000", "gif s"),
    ("ニュー・シネマ・パラダイス", "ジュゼッペ・トルナトーレ", "フィリップ・ノワレ", "1989/12", "イタリア", "ドラマ", "◎", "97 10 6 9 0 0 1", "1001", "jpg w"),
    ("ライフ・イズ・ビューティフル", "ロベルト・ベニーニ", "ロベルト・ベニーニ", "1999/04", "イタリア", "ドラマ", "◎", "94 10 8 7 4 2 0", "1000", "jpg u"),
    ("自転車泥棒", "ヴィットリオ・デ・シーカ", "ランベルト・マッジョラーニ", "1950/09", "イタリア", "ドラマ", "○", "83 8 0 3 2 0 0", "", "bmp s"),
    ("第三の男", "キャロル・リード", "ジョゼフ・コットン", "1952/09", "イギリス", "サスペンス", "○", "86 3 1 0 8 2 1", "1000", "jpg u"),
    ("007は殺しの番号", "テレンス・ヤング", "ショーン・コネリー", "1963/06", "イギリス", "スパイ", "△", "72 1 4 1 7 1 6", "0010", "jpg u"),
    ("猿の惑星", "フランクリン・J・シャフナー", "チャールトン・ヘストン", "1968/04", "アメリカ", "ＳＦ", "○", "85 4 1 0 8 5 1", "0010", ""),
    ("ロッキー", "ジョン・G・アヴィルドセン", "シルヴェスター・スタローン", "1977/04", "アメリカ", "スポーツ", "◎", "89 10 3 5 6 0 1", "1000", "jpg u"),
    ("猟奇的な彼女", "クァク・ジェヨン", "チョン・ジヒョン", "2003/01", "韓国", "恋愛", "△", "74 6 8 4 1 0 3", "", ""),
    ("パラサイト　半地下の家族", "ポン・ジュノ", "ソン・ガンホ", "2020/01", "韓国", "サスペンス", "◎", "92 3 6 1 9 6 2", "0001", "jpg u"),
    ("男たちの挽歌", "ジョン・ウー", "チョウ・ユンファ", "1987/04", "香港", "アクション", "○", "81 7 1 0 9 2 0", "0010", ""),
    ("燃えよドラゴン", "ロバート・クローズ", "ブルース・リー", "1973/12", "アメリカ", "アクション", "○", "80 2 2 0 8 1 1", "1000", "jpg u"),
    ("少林サッカー", "チャウ・シンチー", "チャウ・シンチー", "2002/06", "香港", "喜劇", "△", "70 3 10 4 4 0 0", "", ""),
    ("トイ・ストーリー", "ジョン・ラセター", "トム・ハンクス", "1996/03", "アメリカ", "アニメ", "○", "86 7 8 9 4 0 0", "0101", "jpg s"),
    ("アバター", "ジェームズ・キャメロン", "サム・ワーシントン", "2009/12", "アメリカ", "ＳＦ", "△", "72 4 1 2 7 1 1", "", ""),
    ("インセプション", "クリストファー・ノーラン", "レオナルド・ディカプリオ", "2010/07", "アメリカ", "ＳＦ", "○", "85 4 0 0 9 2 0", "0101", "jpg w"),
    ("ラ・ラ・ランド", "デイミアン・チャゼル", "ライアン・ゴズリング", "2017/02", "アメリカ", "ミュージカル", "○", "83 8 4 6 1 0 4", "0001", "jpg u"),
    ("ボヘミアン・ラプソディ", "ブライアン・シンガー", "ラミ・マレック", "2018/11", "イギリス", "音楽", "◎", "90 10 3 3 3 0 1", "0101", "jpg u"),
    ("トップガン マーヴェリック", "ジョセフ・コシンスキー", "トム・クルーズ", "2022/05", "アメリカ", "アクション", "◎", "91 7 3 1 10 1 1", "0001", "jpg w"),
    ("すずめの戸締まり", "新海誠", "原菜乃華", "2022/11", "日本", "アニメ", "○", "80 8 3 4 5 2 0", "", "jpg u"),
    ("ゴジラ－１．０", "山崎貴", "神木隆之介", "2023/11", "日本", "特撮", "◎", "92 9 1 1 9 7 0", "0101", "jpg u"),
    ("THE FIRST SLAM DUNK", "井上雄彦", "仲村宗悟", "2022/12", "日本", "アニメ", "", "", "", ""),
]

# Free texts, in short words of the collector.  Lines are joined with CR LF.
CAST = {
    "七人の侍": ["島田勘兵衛：志村喬", "菊千代：三船敏郎", "岡本勝四郎：木村功", "久蔵：宮口精二",
               "片山五郎兵衛：稲葉義男", "七郎次：加東大介", "林田平八：千秋実", "利吉：土屋嘉男", "志乃：津島恵子"],
    "東京物語": ["平山周吉：笠智衆", "平山とみ：東山千栄子", "平山紀子：原節子", "金子志げ：杉村春子",
               "平山幸一：山村聰", "平山京子：香川京子"],
    "となりのトトロ": ["草壁サツキ：日高のり子", "草壁メイ：坂本千夏", "お父さん：糸井重里", "お母さん：島本須美",
                 "トトロ：高木均", "カンタ：雨笠利幸", "ばあちゃん：北林谷栄"],
    "千と千尋の神隠し": ["荻野千尋（千）：柊瑠美", "ハク：入野自由", "湯婆婆／銭婆：夏木マリ", "釜爺：菅原文太",
                  "リン：玉井夕海", "坊：神木隆之介"],
    "男はつらいよ": ["車寅次郎：渥美清", "さくら：倍賞千恵子", "坪内冬子：光本幸子", "諏訪博：前田吟",
                "おいちゃん：森川信", "おばちゃん：三崎千恵子", "御前様：笠智衆", "タコ社長：太宰久雄"],
    "ローマの休日": ["アン王女：オードリー・ヘプバーン", "ジョー・ブラッドレー：グレゴリー・ペック",
                "アーヴィング：エディ・アルバート"],
    "ジョーズ": ["ブロディ署長：ロイ・シャイダー", "クイント：ロバート・ショウ", "フーパー：リチャード・ドレイファス",
             "エレン・ブロディ：ロレイン・ゲイリー"],
    "バック・トゥ・ザ・フューチャー": ["マーティ・マクフライ：マイケル・J・フォックス", "ドク：クリストファー・ロイド",
                        "ロレイン：リー・トンプソン", "ジョージ：クリスピン・グローヴァー", "ビフ：トーマス・F・ウィルソン"],
    "ショーシャンクの空に": ["アンディ・デュフレーン：ティム・ロビンス", "レッド：モーガン・フリーマン",
                    "ノートン所長：ボブ・ガントン", "ブルックス：ジェームズ・ホイットモア"],
    "レオン": ["レオン：ジャン・レノ", "マチルダ：ナタリー・ポートマン", "スタンスフィールド：ゲイリー・オールドマン",
            "トニー：ダニー・アイエロ"],
    "タイタニック": ["ジャック・ドーソン：レオナルド・ディカプリオ", "ローズ：ケイト・ウィンスレット",
                "キャルドン・ホックリー：ビリー・ゼイン", "老ローズ：グロリア・スチュアート"],
    "パラサイト　半地下の家族": ["キム・ギテク：ソン・ガンホ", "パク・ドンイク：イ・ソンギュン", "パク・ヨンギョ：チョ・ヨジョン",
                     "キム・ギウ：チェ・ウシク", "キム・ギジョン：パク・ソダム"],
}

SYNOPSIS = {
    "七人の侍": ["戦国時代の終わり、野武士の襲撃に怯える山あいの村。",
               "百姓たちは米をたらふく食わせることだけを条件に、腕の立つ侍を探しに町へ出る。",
               "集まった七人の侍は村人を鍛え、砦を築き、麦の刈り入れ後に押し寄せる野武士と雨の中で決戦に挑む。"],
    "東京物語": ["尾道に暮らす老夫婦が、東京の子どもたちを訪ねて上京する。",
               "忙しい息子や娘には邪険にされ、温かく迎えてくれたのは戦死した次男の嫁・紀子だけだった。",
               "帰郷してまもなく、母とみが倒れる。"],
    "となりのトトロ": ["昭和三十年代、入院中の母の近くへ越してきたサツキとメイの姉妹。",
                 "古い家のそばの大きなクスノキの森で、メイは不思議な生き物トトロに出会う。"],
    "千と千尋の神隠し": ["引っ越しの途中、両親と迷い込んだトンネルの先は八百万の神々が集う湯屋の町だった。",
                  "豚にされた両親を救うため、千尋は湯婆婆に名前を奪われ「千」として働き始める。"],
    "男はつらいよ": ["二十年ぶりに故郷の柴又へ帰ってきたフーテンの寅さん。",
                "妹さくらの見合いをぶち壊し、幼なじみの御前様の娘・冬子に一目ぼれして、また騒動を起こす。"],
    "ローマの休日": ["ヨーロッパ親善旅行中の王女アンは、窮屈な公務に嫌気がさしてローマの街へ抜け出す。",
                "偶然出会った新聞記者ジョーは特ダネを狙って身分を隠したまま一日を案内するが……。"],
    "ジョーズ": ["海水浴シーズンを迎えた島の町アミティで、巨大な人食いザメが人を襲い始める。",
             "観光客を気にする市長に押し切られた警察署長ブロディは、海洋学者フーパー、漁師クイントと共に海へ出る。"],
    "バック・トゥ・ザ・フューチャー": ["高校生マーティは、友人ドクの発明したタイムマシンで1955年へ飛ばされてしまう。",
                        "そこで若き日の両親の出会いを邪魔してしまい、このままでは自分が消えてしまう。",
                        "未来へ帰るため、雷が時計台に落ちるその瞬間に賭ける。"],
    "ショーシャンクの空に": ["妻殺しの罪で終身刑を言い渡された銀行員アンディ。",
                    "ショーシャンク刑務所で調達屋のレッドと友情を育み、希望を捨てずに長い年月を過ごす。"],
    "レオン": ["ニューヨークの孤独な殺し屋レオンは、隣室の家族を麻薬取締局の刑事に皆殺しにされた少女マチルダをかくまう。",
            "弟の復讐を誓うマチルダに、レオンは生きる術を教えることになる。"],
    "タイタニック": ["1912年、処女航海に出た豪華客船タイタニック号。",
                "画家志望の青年ジャックと上流階級の娘ローズは身分違いの恋に落ちるが、船は氷山に衝突する。"],
    "パラサイト　半地下の家族": ["半地下の部屋に暮らす全員失業中のキム一家。",
                     "長男ギウが高台の豪邸に家庭教師として入り込んだのをきっかけに、家族は次々と身分を偽ってパク家に潜り込んでいく。"],
    "ニュー・シネマ・パラダイス": ["シチリアの小さな村の映画館「パラダイス座」。",
                      "映画に夢中の少年トトは映写技師アルフレードと年の離れた友情を結ぶ。",
                      "三十年後、ローマで映画監督となったトトのもとにアルフレードの訃報が届く。"],
}

MEMO = {
    "七人の侍": ["三時間半があっという間。", "雨の決戦の迫力は何度見ても圧倒される。",
               "菊千代の最期と、勘兵衛の「勝ったのは百姓たちだ」で毎回しんみり。"],
    "東京物語": ["若い頃は退屈だと思ったが、親が年をとってから見直して泣いた。", "原節子の笑顔がつらい。"],
    "となりのトトロ": ["子どもと一緒に見るのが恒例。", "ネコバスに乗りたい。"],
    "千と千尋の神隠し": ["映画館で三回見た。", "湯屋の食べ物がどれもおいしそう。", "ハクの正体がわかる場面が好き。"],
    "男はつらいよ": ["シリーズ第１作。", "寅さんの口上を一緒に言えるようになった。"],
    "ローマの休日": ["真実の口の場面は何度見ても笑える。", "ラストの記者会見、ジョーの表情が忘れられない。"],
    "ジョーズ": ["あの音楽が流れるだけでもう怖い。", "サメがなかなか姿を見せないのがいい。", "夏になると見たくなる。"],
    "バック・トゥ・ザ・フューチャー": ["何度見ても楽しい。", "時計台の場面はわかっていてもハラハラする。",
                        "ブルーレイのトリロジーＢＯＸを購入。"],
    "ショーシャンクの空に": ["生涯ベスト。", "屋上でビールを飲む場面と、最後の海辺。"],
    "レオン": ["完全版で見た。", "牛乳と観葉植物。", "ゲイリー・オールドマンが怖すぎる。"],
    "タイタニック": ["後半は手に汗握りっぱなし。", "３時間超えなので休日に。"],
    "パラサイト　半地下の家族": ["前情報なしで映画館へ。", "後半の展開にやられた。", "「におい」の使い方がうまい。"],
}


def check_text(value, where):
    """Refuse what the record files cannot hold."""
    if '"' in value:
        sys.exit(f'double quote in {where}: {value}')
    try:
        value.encode("cp932")
    except UnicodeEncodeError as e:
        sys.exit(f"not encodable in CP932 in {where}: {value!r} ({e})")


def write_lines(name, lines):
    """Write lines, each ended by CR LF, in CP932."""
    data = "".join(line + "\r\n" for line in lines)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data.encode("cp932"))


def quoted(value):
    return '"' + value + '"'


def film_records():
    seen = set()
    records = []
    for (title, director, lead, release, country, genre, rating, scores, owns, pic) in FILMS:
        if title in seen:
            sys.exit(f"duplicate title {title}")
        seen.add(title)
        if FORBIDDEN & set(title):
            sys.exit(f"forbidden character in title {title}")
        for v in (title, director, lead, release, country, genre, rating):
            check_text(v, title)
        nums = [int(s) for s in scores.split()] if scores else [0] * 7
        assert len(nums) == 7 and 0 <= nums[0] <= 100 and all(0 <= n <= 10 for n in nums[1:]), title
        flags = ["○" if c == "1" else "" for c in (owns or "0000")]
        assert len(flags) == 4, title
        fields = [quoted(v) for v in (title, director, lead, release, country, genre, rating)]
        fields += [str(n) for n in nums]
        fields += [quoted(v) for v in flags]
        records.append(",".join(fields))
    return records


def history():
    """About eighty viewings, 2019..2026, ascending by date."""
    rng = random.Random(20190101)
    films = {f[0]: f for f in FILMS}
    # fixed cinema visits of films seen when they came out, and a few revivals
    fixed = [
        ("2019/08/03", "となりのトトロ", "テレビ放送"),
        ("2020/01/18", "パラサイト　半地下の家族", "映画館"),
        ("2020/07/11", "千と千尋の神隠し", "映画館"),
        ("2021/11/27", "七人の侍", "映画館"),
        ("2022/06/04", "トップガン マーヴェリック", "映画館"),
        ("2022/06/25", "トップガン マーヴェリック", "映画館"),
        ("2022/11/19", "すずめの戸締まり", "映画館"),
        ("2022/12/10", "THE FIRST SLAM DUNK", "映画館"),
        ("2023/11/11", "ゴジラ－１．０", "映画館"),
        ("2024/05/04", "ゴジラ－１．０", "配信"),
        ("2024/12/21", "ショーシャンクの空に", "ブルーレイ"),
        ("2026/07/20", "ジョーズ", "ブルーレイ"),
    ]
    weights = {"◎": 4, "○": 2, "△": 1, "": 1}
    pool = []
    for f in FILMS:
        pool += [f[0]] * weights[f[6]]
    per_year = {2019: 9, 2020: 9, 2021: 10, 2022: 8, 2023: 10, 2024: 10, 2025: 9, 2026: 3}
    rows = list(fixed)
    for year, count in per_year.items():
        for _ in range(count):
            last_month = 11 if year == 2026 else 12
            date = f"{year:04d}/{rng.randint(1, last_month):02d}/{rng.randint(1, 28):02d}"
            title = rng.choice(pool)
            while films[title][3] >= date[:7]:  # nobody sees a film before it comes out
                title = rng.choice(pool)
            owns = films[title][8] or "0000"
            kinds = [k for k, c in zip(["ＤＶＤ", "ブルーレイ", "ビデオ", "配信"], owns) if c == "1"]
            if not kinds:
                kinds = ["テレビ放送", "配信", "テレビ放送"]
            content = rng.choice(kinds)
            if rng.random() < 0.2:  # caught on television or streaming now and then
                content = rng.choice(["テレビ放送", "テレビ放送", "配信"])
            rows.append((date, title, content))
    rows.sort(key=lambda r: r[0])  # stable: equal dates keep their order
    for r in rows:
        assert r[1] in films, r
        for v in r:
            check_text(v, "history")
    return [",".join(quoted(v) for v in r) for r in rows]


# ---------------------------------------------------------------- pictures

PALETTES = [
    ("#1a2a6c", "#b21f1f"), ("#0f2027", "#2c5364"), ("#3a1c71", "#ffaf7b"), ("#134e5e", "#71b280"),
    ("#42275a", "#734b6d"), ("#000428", "#004e92"), ("#603813", "#a0522d"), ("#8e0e00", "#1f1c18"),
    ("#355c7d", "#c06c84"), ("#0b486b", "#f56217"), ("#1d4350", "#a43931"), ("#232526", "#7a7f86"),
    ("#614385", "#516395"), ("#02aab0", "#00cdac"), ("#c94b4b", "#4b134f"), ("#7b4397", "#dc2430"),
]


def seed_of(title):
    return int(hashlib.sha256(title.encode("utf-8")).hexdigest()[:12], 16)


def text_width(s):
    """Width in em: full-width characters 1, ASCII about a half."""
    return sum(0.55 if ord(c) < 0x80 else 1.0 for c in s)


def is_vertical(title, shape):
    """Short upright posters of a kanji title are set top to bottom, like a Japanese poster."""
    if shape != "u" or len(title) > 7 or "ー" in title:
        return False
    if not any(0x4e00 <= ord(c) <= 0x9fff for c in title):
        return False
    return all(0x3040 <= ord(c) <= 0x30ff or 0x4e00 <= ord(c) <= 0x9fff for c in title)


NO_LINE_START = set("ーァィゥェォッャュョヮぁぃぅぇぉっゃゅょゎ・。、）」")


def wrap(title, max_em):
    """Break a horizontal title into lines of at most about max_em."""
    if text_width(title) <= max_em:
        return [title]
    best = None
    for b in range(1, len(title)):
        if title[b - 1] not in "・／　 のは" or title[b] in NO_LINE_START:
            continue
        a, c = title[:b].rstrip("　 "), title[b:].lstrip("　 ")
        w = max(text_width(a), text_width(c))
        if best is None or w < best[0]:
            best = (w, [a, c])
    if best and best[0] <= max_em * 1.3:
        return best[1]
    # no good break: cut into balanced pieces, never starting a line with a small kana or a long mark
    n = int(text_width(title) / max_em) + 1
    size = len(title) / n
    lines, start = [], 0
    for k in range(1, n):
        cut = round(k * size)
        while cut < len(title) and title[cut] in NO_LINE_START:
            cut += 1
        lines.append(title[start:cut])
        start = cut
    return lines + [title[start:]]


def shapes(style, w, h, rng, light):
    d = []
    if style == 0:  # a big sun over a horizon band
        r = int(min(w, h) * rng.uniform(0.25, 0.38))
        cx, cy = int(w * rng.uniform(0.35, 0.65)), int(h * rng.uniform(0.45, 0.65))
        d += ["-fill", f"rgba({light},0.35)", "-draw", f"circle {cx},{cy} {cx},{cy - r}"]
        d += ["-fill", "rgba(0,0,0,0.35)", "-draw", f"rectangle 0,{int(h * 0.78)} {w},{h}"]
    elif style == 1:  # diagonal stripes
        step = int(w * rng.uniform(0.14, 0.22))
        for x in range(-h, w + h, step * 2):
            d += ["-fill", f"rgba({light},0.16)",
                  "-draw", f"polygon {x},0 {x + step},0 {x + step + h // 2},{h} {x + h // 2},{h}"]
    elif style == 2:  # concentric rings
        cx, cy = int(w * rng.uniform(0.3, 0.7)), int(h * rng.uniform(0.5, 0.7))
        for k in range(1, 7):
            r = int(min(w, h) * 0.08 * k)
            d += ["-fill", "none", "-stroke", f"rgba({light},{0.5 - k * 0.06:.2f})", "-strokewidth", "6",
                  "-draw", f"circle {cx},{cy} {cx},{cy - r}"]
        d += ["-stroke", "none"]
    else:  # a night of small stars
        for _ in range(60):
            x, y, r = rng.randint(0, w), rng.randint(0, h), rng.choice([1, 1, 2, 3])
            d += ["-fill", f"rgba({light},{rng.uniform(0.3, 0.9):.2f})", "-draw", f"circle {x},{y} {x},{y - r}"]
        d += ["-fill", f"rgba({light},0.25)", "-draw",
              f"polygon 0,{h} {w // 3},{int(h * 0.7)} {w // 2},{int(h * 0.8)} {int(w * 0.8)},{int(h * 0.62)} {w},{h}"]
    return d


def draw_picture(film, path):
    title, director, _lead, release = film[0], film[1], film[2], film[3]
    ext, shape = film[9].split()
    w, h = {"u": (300, 450), "w": (640, 480), "s": (500, 500)}[shape]
    if ext == "bmp":  # uncompressed: keep it small
        w, h = (w * 2 // 3, h * 2 // 3)
    seed = seed_of(title)
    rng = random.Random(seed)
    c1, c2 = PALETTES[seed % len(PALETTES)]
    light = rng.choice(["255,255,255", "255,236,180", "200,230,255"])
    style = (seed >> 8) % 4
    cmd = ["convert", "-size", f"{w}x{h}", f"gradient:{c1}-{c2}"]
    cmd += shapes(style, w, h, rng, light)
    cmd += ["-font", FONT]
    margin = w // 12
    if is_vertical(title, shape):
        pt = min(int(h * 0.62 / len(title)), w // 5)
        text = "\n".join(title)
        x = margin if style == 0 else (w - pt) // 2
        pos = ["-gravity", "northwest", "-interline-spacing", str(-pt // 8)]
        at = f"+{x}+{h // 10}"
    else:
        max_em = 8.0 if shape == "u" else 10.0
        lines = wrap(title, max_em)
        widest = max(text_width(l) for l in lines)
        pt = int(min((w - 2 * margin) / max(widest, 3.0), h / 7))
        text = "\n".join(lines)
        pos = ["-gravity", "north"]
        at = f"+0+{h // 8}"
    cmd += pos + ["-pointsize", str(pt),
                  "-fill", "rgba(0,0,0,0.55)", "-annotate", at.replace("+", "+", 1), text]
    # the title itself, a little up and left of its shadow
    xy = at[1:].split("+")
    sx, sy = int(xy[0]) - 3, int(xy[1]) - 3
    cmd += ["-fill", "white", "-annotate", f"{sx:+d}{sy:+d}", text]
    sub = f"監督　{director}　　{release[:4]}"
    sub_pt = max(11, min(int(w / (text_width(sub) + 2)), 20))
    cmd += ["-gravity", "south", "-pointsize", str(sub_pt), "-fill", "rgba(255,255,255,0.9)",
            "-annotate", f"+0+{h // 24}", sub]
    cmd += ["-strip"]
    if ext == "jpg":
        cmd += ["-quality", "82", "-sampling-factor", "2x2", path]
    elif ext == "gif":
        cmd += ["-dither", "None", "-colors", "64", path]
    else:
        cmd += ["-dither", "None", "-colors", "256", "-type", "Palette", "-compress", "None", "BMP3:" + path]
    subprocess.run(cmd, check=True)


def main():
    if shutil.which("convert") is None or not os.path.exists(FONT):
        sys.exit("needs ImageMagick convert and the IPA Gothic font")
    if os.path.isdir(OUT):
        shutil.rmtree(OUT)
    os.makedirs(OUT)

    write_lines("データ.TXT", film_records())
    write_lines("鑑賞履歴.TXT", history())
    write_lines("評価マスタ.txt", [quoted(v) for v in EVAL_ITEMS])
    write_lines("所有マスタ.txt", [quoted(v) for v in OWN_ITEMS])
    write_lines("設定.TXT", ['"ヘルプツアー",1'])

    titles = {f[0] for f in FILMS}
    for prefix, texts in (("キャスト_", CAST), ("あらすじ_", SYNOPSIS), ("メモ_", MEMO)):
        for title, lines in texts.items():
            assert title in titles, title
            for line in lines:
                check_text(line, prefix + title)
            # the whole text, lines separated by CR LF, then one final CR LF
            write_lines(prefix + title + ".txt", lines)

    for film in FILMS:
        if film[9]:
            draw_picture(film, os.path.join(OUT, film[0] + "." + film[9].split()[0]))


if __name__ == "__main__":
    main()

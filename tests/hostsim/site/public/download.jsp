[Event "Probe download"]
[Site "?"]
[Date "2020.02.02"]
[Round "1"]
[White "Probe, Alice"]
[Black "Probe, Bob"]
[Result "1-0"]

1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# 1-0


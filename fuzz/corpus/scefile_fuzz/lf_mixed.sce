; comment
[Scenario Info]
SceInfo=x
[a]
1=1 2 3 4 X
[A]
2 = 1e3 -2 0.5 10

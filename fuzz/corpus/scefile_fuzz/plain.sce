[Scenario Info]
SceInfo = (none)
[Page1]
1	=	1.000	2.000	3.000	500
2	=	4.000	5.000	6.000	250
[Page2]
1	=	0.000	0.000	0.000	0
